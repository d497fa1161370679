#include "TBIcon72.h"

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
  fw::FolderItemPtr file = resources->Child("TBIcon72.png");
  if (!file) throw fw::NilObjectException("TBIcon72: no file reference for TBIcon72.png");
  cache = file->OpenAsPicture();
  return cache;
}

void SetTBIcon72Resources(std::function<fw::FolderItemPtr()> resources) {
  ResourcesSource() = std::move(resources);
  IconCache().reset();
}
