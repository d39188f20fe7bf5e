#include "res/version_data.h"

namespace {

const VersionInfo kVersion = {
    .fileVersion = {1, 0, 2, 0},
    .productVersion = {1, 0, 2, 0},
    .companyName = "Vantrel",
    .fileDescription = "Glimra Application",
    .fileVersionText = "1, 0, 2, 0",
    .internalName = "Glimra",
    .legalCopyright = "Copyright (C) 2026 Vantrel",
    .legalTrademarks = nullptr,
    .originalFilename = "Glimra.exe",
    .productName = "Glimra",
    .productVersionText = "1, 0, 2, 0",
    .comments = nullptr,
};

}  // namespace

const VersionInfo& GlimraVersionInfo() { return kVersion; }
