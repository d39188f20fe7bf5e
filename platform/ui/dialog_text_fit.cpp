#include "platform/ui/dialog_text_fit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

#include "platform/ui/resources.h"

namespace {

// A height no wrapped template text comes near; only the bounding height
// of the wrapped lines is read.
constexpr int kUnboundedHeight = 1 << 16;
// The widening stops at a quarter of the platform's unit over it.
constexpr int kWideningLimitDivisor = 4;

bool HasClass(const DialogItemTemplate& item, const char* name) {
  return item.className != nullptr &&
         QString::fromUtf8(item.className).compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

// The text as a static shows it: "&x" marks a mnemonic and "&&" is one "&",
// unless SS_NOPREFIX.
QString StaticShownText(const DialogItemTemplate& item) {
  QString text = QString::fromUtf8(item.text);
  if (item.style & SS_NOPREFIX) return text;
  QString shown;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

bool StaticFits(const DialogItemTemplate& item, const QRect& box, const QFontMetrics& metrics) {
  const DWORD type = item.style & SS_TYPEMASK;
  const QString text = StaticShownText(item);
  if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) {
    const QRect wrapped = metrics.boundingRect(QRect(0, 0, box.width(), kUnboundedHeight), Qt::TextWordWrap, text);
    return wrapped.width() <= box.width() && wrapped.height() <= box.height();
  }
  if (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP) return metrics.horizontalAdvance(text) <= box.width();
  return true;  // icons, frames and the rest show no text
}

bool ButtonFits(const DialogItemTemplate& item, const QRect& box, const QFontMetrics& metrics) {
  const DWORD type = item.style & BS_TYPEMASK;
  const QString text = QString::fromUtf8(item.text);
  const int textWidth = metrics.size(Qt::TextShowMnemonic, text).width();
  if (type == BS_OWNERDRAW) return true;
  if (type == BS_GROUPBOX) {
    // The caption sits in the top edge with about a character of frame on
    // either side.
    return textWidth + 2 * metrics.averageCharWidth() <= box.width();
  }
  QStyleOptionButton option;
  option.rect = box;
  option.fontMetrics = metrics;
  option.text = text;
  QStyle::SubElement contents = QStyle::SE_PushButtonContents;
  if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE) {
    contents = QStyle::SE_CheckBoxContents;
  } else if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
    contents = QStyle::SE_RadioButtonContents;
  }
  return textWidth <= QApplication::style()->subElementRect(contents, &option, nullptr).width();
}

bool AllTextsFit(const DialogTemplate& t, SIZE units, const QFont& font) {
  const QFontMetrics metrics(font);
  for (const DialogItemTemplate& item : t.items) {
    if (item.text == nullptr || item.text[0] == '\0') continue;
    const QRect box(0, 0, MulDiv(item.cx, units.cx, 4), MulDiv(item.cy, units.cy, 8));
    if (HasClass(item, "STATIC") && !StaticFits(item, box, metrics)) return false;
    if (HasClass(item, "BUTTON") && !ButtonFits(item, box, metrics)) return false;
  }
  return true;
}

}  // namespace

int FittedHorizontalUnit(const DialogTemplate& dialogTemplate, SIZE platformUnits, const QFont& font) {
  const int widest = platformUnits.cx + std::max(1, platformUnits.cx / kWideningLimitDivisor);
  SIZE units = platformUnits;
  for (; units.cx < widest; ++units.cx) {
    if (AllTextsFit(dialogTemplate, units, font)) break;
  }
  return units.cx;
}
