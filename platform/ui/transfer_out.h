#pragma once
// Data the window hands to other programs by the clipboard or by a drag:
// one image as image/png and files as text/uri-list, so a file manager
// makes the files and an image editor takes the picture.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/win_user.h"

class QMimeData;

struct TransferData {
  std::vector<std::uint8_t> png;  // none when empty
  std::vector<std::string> files;
};

// A new folder, private to the user, for the files of one copy or drag.
// Every such folder is removed when the program ends; empty when none
// could be made.
[[nodiscard]] std::string NewTransferFolder();

void PutOnClipboard(const TransferData& data);

// Starts dragging the data out of the window and returns when it was
// dropped or given up.
void DragOut(HWND source, const TransferData& data);

// Tests see what a drag would carry instead of one starting (a drag runs
// its own event loop waiting for a drop); an empty function undoes it.
void WatchDragsForTests(std::function<void(const QMimeData& carried)> watch);
