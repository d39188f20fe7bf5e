#pragma once
// The Icon Info of one list item, from a copy of its record.

#include "model/icon_info_list.h"

// Shows item's information, or "Can't get Icon info" when the item has no
// record yet (a listing worker may show an item before appending its
// record); answers whether the record was there.
[[nodiscard]] bool ShowItemInfo(const CIconInfoList& records, int item);
