#pragma once
#include <functional>
#include <memory>

#include "framework/FolderItem.h"
#include "framework/Picture.h"

// The application icon, read from "TBIcon72.png" in the bundle's resources on
// first use and kept for the rest of the run; nullptr while it cannot be read
// (the next call tries again).
std::shared_ptr<fw::Picture> TBIcon72();

// Where TBIcon72 looks for its file; fw::GetApplicationBundleResources unless
// a test points it elsewhere. Setting it empties the cache.
void SetTBIcon72Resources(std::function<fw::FolderItemPtr()> resources);
