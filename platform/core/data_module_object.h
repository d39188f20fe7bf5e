#pragma once
// What a data-module handle points to: the mapping (or borrowed bytes), the
// parsed headers, the resource tree, and the resources found so far, which
// is what resource handles point to.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <unordered_map>

#include "platform/core/file_mapping.h"
#include "platform/core/pe_image.h"
#include "platform/core/resource_directory.h"
#include "platform/core/win_types.h"

struct ResourceInfo {
  const DataModule* owner = nullptr;
  std::span<const std::uint8_t> bytes;
};

struct DataModule {
  std::optional<FileMapping> mapping;  // empty when the bytes are borrowed
  PeImage image;
  ResourceDirectory resources;  // empty when the image has no resource tree

  // Keyed by the data entry's place in the tree, so finding the same
  // resource twice hands out the same handle and a module never holds more
  // records than its tree has data entries.
  std::mutex foundMutex;
  std::unordered_map<std::uint64_t, std::unique_ptr<ResourceInfo>> found;
};
