#include "support/framework/zu_libraries.h"

#include <atomic>

namespace {
std::atomic<bool> g_winObjReady{false};
std::atomic<bool> g_utilObjReady{false};
std::atomic<bool> g_htmlReady{false};
}  // namespace

BOOL InitZUWinObjDLL() {
  g_winObjReady = true;
  return TRUE;
}

BOOL InitZUUtilObjDLL() {
  g_utilObjReady = true;
  return TRUE;
}

BOOL InitZUHtmlDLL() {
  g_htmlReady = true;
  return TRUE;
}

bool IsZUWinObjReady() { return g_winObjReady; }
bool IsZUUtilObjReady() { return g_utilObjReady; }
bool IsZUHtmlReady() { return g_htmlReady; }
