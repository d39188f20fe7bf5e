#pragma once
// Image lists: fixed-size images a list view or tree view draws from. An
// appended icon is stored as the list's own copy, scaled to the list's size.

#include <cstdint>
#include <vector>

#include "platform/ui/cobject.h"
#include "platform/ui/common_controls.h"

// Images are at most 256 x 256. Their number has no cap: equal images are
// stored once (by content), so memory follows the different pictures.
inline constexpr int kMaxImageListSide = 256;

[[nodiscard]] HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
// index -1 appends; answers the image's index or -1.
int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
int ImageList_AddIcon(HIMAGELIST list, HICON icon);
// Appends cx x cy pixels already scaled to the list's size, so that a worker
// can scale beforehand and the user-interface thread only stores them;
// answers the image's index, or -1 when the size is not the list's.
int ImageList_AddPixels(HIMAGELIST list, int cx, int cy, std::vector<std::uint32_t> pixels);
// index -1 removes every image.
BOOL ImageList_Remove(HIMAGELIST list, int index);
[[nodiscard]] int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// The image's 0xAARRGGBB pixels, top-down; empty for a bad index.
[[nodiscard]] std::vector<std::uint32_t> ImageList_GetPixels(HIMAGELIST list, int index);
// How many different pictures the list's images hold between them.
[[nodiscard]] int ImageList_GetPictureCount(HIMAGELIST list);

class CImageList : public CObject {
 public:
  CImageList() = default;
  ~CImageList() override;  // destroys the list it owns
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  HIMAGELIST m_hImageList = nullptr;
  operator HIMAGELIST() const { return m_hImageList; }  // NOLINT
  [[nodiscard]] HIMAGELIST GetSafeHandle() const { return m_hImageList; }
  static CImageList* FromHandle(HIMAGELIST list);

  BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
  BOOL DeleteImageList();
  BOOL Attach(HIMAGELIST list);
  HIMAGELIST Detach();
  int Add(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
  int Replace(int index, HICON icon) { return ImageList_ReplaceIcon(m_hImageList, index, icon); }
  BOOL Remove(int index) { return ImageList_Remove(m_hImageList, index); }
  [[nodiscard]] int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
};
