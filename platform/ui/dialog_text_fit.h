#pragma once
// Internal to platform/ui (Qt): the horizontal dialog unit at which a
// template's own texts fit their controls in the font that draws them.

#include <QFont>

#include "platform/ui/win_user.h"

struct DialogTemplate;

// The templates were laid out in their designed font, whose texts run
// narrower against its average letter than those of the faces that stand in
// for it here, so a text drawn to fit there can overflow its control at the
// platform's own units. Answers the platform's horizontal unit, or the
// smallest wider one at which every text the template carries fits
// (statics and the captions of buttons, check boxes, radio buttons and group
// boxes). Widening stops a quarter of the platform's unit (at least one
// pixel) over it: a template whose text fits at no reasonable width keeps
// that widest unit, so a mis-sized text costs a bounded amount of width.
[[nodiscard]] int FittedHorizontalUnit(const DialogTemplate& dialogTemplate, SIZE platformUnits, const QFont& font);
