#include "support/framework/version_info.h"

#include <atomic>
#include <string_view>

namespace {
std::atomic<const VersionInfo*> g_info{nullptr};
}  // namespace

void RegisterVersionInfo(const VersionInfo* info) { g_info = info; }

const VersionInfo* GetVersionInfo() { return g_info; }

const char* QueryVersionString(const char* name) {
  const VersionInfo* info = g_info;
  if (info == nullptr || name == nullptr) {
    return nullptr;
  }
  struct Field {
    std::string_view name;
    const char* VersionInfo::*member;
  };
  // clang-format off
  static constexpr Field kFields[] = {
      {"CompanyName", &VersionInfo::companyName},
      {"FileDescription", &VersionInfo::fileDescription},
      {"FileVersion", &VersionInfo::fileVersionText},
      {"InternalName", &VersionInfo::internalName},
      {"LegalCopyright", &VersionInfo::legalCopyright},
      {"LegalTrademarks", &VersionInfo::legalTrademarks},
      {"OriginalFilename", &VersionInfo::originalFilename},
      {"ProductName", &VersionInfo::productName},
      {"ProductVersion", &VersionInfo::productVersionText},
      {"Comments", &VersionInfo::comments},
  };
  // clang-format on
  for (const Field& field : kFields) {
    if (field.name == name) {
      return info->*field.member;
    }
  }
  return nullptr;
}
