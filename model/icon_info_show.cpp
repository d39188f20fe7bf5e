#include "model/icon_info.h"

// The Icon Info dialog is not built yet; until it is, asking for a record's
// details shows nothing.
void CIconInfo::ShowInfo() const {}
