#pragma once
#include <initializer_list>
#include <string>

// True when the version at the start of text (such as "10.10.2\n", after
// leading blanks) is at or above minimum, compared field by field as whole
// numbers: 10.10.2 and 11.2 are at or above 10.9, 10.8.5 is not. A missing
// field counts as 0; a text that does not begin with a number is below any
// minimum.
bool VersionAtLeast(const std::string& text, std::initializer_list<long> minimum);
