#pragma once
// What glimra-extract writes for one icon, shared with the window's copy and
// export so both name and write alike: the stem from the source's file name
// and the icon's key, the .ico of a group, and the PNG files of its images.
// No Qt.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/expected.h"
#include "support/icon/icon_library.h"
#include "support/icon/icon_source.h"
#include "support/icon/whole_file_writer.h"
#include "tools/cli_support.h"
#include "tools/image_output_batch.h"

// One image to write as PNG, from an icon group or a cursor.
struct ImageRef {
  std::span<const std::uint8_t> bytes;
  unsigned width = 0;
  unsigned height = 0;
  unsigned bitCount = 0;
};

[[nodiscard]] std::vector<ImageRef> ImagesOf(const ICONRESOURCE* group);

// "<file name>_<number or name>": the stem of one icon's outputs.
[[nodiscard]] std::string IconOutputStem(std::string_view sourcePath, const IconKey& key);

// The group as "<stem>.ico", claimed from names.
void WriteIconOutput(const ICONRESOURCE* group, const std::string& stem, Overwrite overwrite, OutputNames& names,
                     const OutputDone& done);

// Every image, or (size not 0) the one BestImageFor picks for size, as
// "<stem>_<width>x<height>_<bits>.png", claimed from names now and queued
// in batch, which writes and reports them.
void WriteImageOutputs(const std::vector<ImageRef>& images, const std::string& stem, unsigned size, Overwrite overwrite,
                       OutputNames& names, ImageOutputBatch& batch);
