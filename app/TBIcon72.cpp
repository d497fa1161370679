#include "TBIcon72.h"

#include <string>
#include <utility>

#include "framework/Exceptions.h"

namespace {

std::shared_ptr<fw::Picture>& IconCache() {
  static std::shared_ptr<fw::Picture> cache;
  return cache;
}

std::function<fw::FolderItemPtr()>& ResourcesSource() {
  static std::function<fw::FolderItemPtr()> source = fw::GetApplicationBundleResources;
  return source;
}

}  // namespace

std::shared_ptr<fw::Picture> TBIcon72() {
  auto& cache = IconCache();
  if (cache) return cache;
  fw::FolderItemPtr resources = ResourcesSource()();
  if (!resources) return nullptr;
  for (const auto& [name, pixelsPerPoint] : {std::pair{"TBIcon72@2x.png", 2.0}, std::pair{"TBIcon72.png", 1.0}}) {
    fw::FolderItemPtr file = resources->Child(name);
    if (!file) throw fw::NilObjectException(std::string("TBIcon72: no file reference for ") + name);
    if (std::shared_ptr<fw::Picture> picture = file->OpenAsPicture()) {
      cache = std::make_shared<fw::Picture>(*picture, pixelsPerPoint);
      return cache;
    }
  }
  return nullptr;
}

void SetTBIcon72Resources(std::function<fw::FolderItemPtr()> resources) {
  ResourcesSource() = std::move(resources);
  IconCache().reset();
}
