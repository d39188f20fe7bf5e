#include "tools/icon_outputs.h"

#include "support/icon/ico_writer.h"
#include "support/icon/icon_resource_builder.h"
#include "support/icon/image_choice.h"

std::vector<ImageRef> ImagesOf(const ICONRESOURCE* group) {
  std::vector<ImageRef> images;
  for (UINT i = 0; i < group->nImages; ++i) {
    const ICONIMAGE* image = IconImageAt(group, i);
    images.push_back(ImageRef{IconImageData(image), image->nWidth, image->nHeight, image->nBitCount});
  }
  return images;
}

std::string IconOutputStem(std::string_view sourcePath, const IconKey& key) {
  return FileNameOf(sourcePath) + "_" + (key.kind == IconKey::Kind::Name ? key.name : std::to_string(key.number));
}

void WriteIconOutput(const ICONRESOURCE* group, const std::string& stem, Overwrite overwrite, OutputNames& names,
                     const OutputDone& done) {
  const std::string destination = names.Claim(stem, ".ico");
  done(destination, WriteIcoFile(group, destination, overwrite));
}

void WriteImageOutputs(const std::vector<ImageRef>& images, const std::string& stem, unsigned size, Overwrite overwrite,
                       OutputNames& names, ImageOutputBatch& batch) {
  std::vector<std::size_t> chosen;
  if (size != 0) {
    std::vector<ImageSize> sizes;
    sizes.reserve(images.size());
    for (const ImageRef& image : images) sizes.push_back(ImageSize{image.width, image.bitCount});
    if (const auto best = BestImageFor(sizes, size)) chosen.push_back(*best);
  } else {
    for (std::size_t i = 0; i < images.size(); ++i) chosen.push_back(i);
  }
  for (const std::size_t i : chosen) {
    const ImageRef& image = images[i];
    const std::string name = stem + "_" + std::to_string(image.width) + "x" + std::to_string(image.height) + "_" +
                             std::to_string(image.bitCount);
    batch.Add(names.Claim(name, ".png"), image.bytes, overwrite);
  }
}
