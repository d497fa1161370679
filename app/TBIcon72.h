#pragma once
#include <functional>
#include <memory>

#include "framework/FolderItem.h"
#include "framework/Picture.h"

// The application icon, 72 points square, read from the bundle's resources on
// first use and kept for the rest of the run: "TBIcon72@2x.png" (144 pixels,
// sharp on a high-resolution display, smoothed on others) where it can be
// read, else "TBIcon72.png"; nullptr while neither can be read (the next call
// tries again).
std::shared_ptr<fw::Picture> TBIcon72();

// Where TBIcon72 looks for its file; fw::GetApplicationBundleResources unless
// a test points it elsewhere. Setting it empties the cache.
void SetTBIcon72Resources(std::function<fw::FolderItemPtr()> resources);
