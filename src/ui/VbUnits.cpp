#include "ui/VbUnits.h"

#include <QGuiApplication>
#include <QPalette>

namespace VbUnits {

QColor color(quint32 ref) {
    if (ref & 0x80000000u) {
        const QPalette pal = QGuiApplication::palette();
        switch (ref & 0xFFu) {
        case 5: return pal.color(QPalette::Base);        // window background
        case 8: return pal.color(QPalette::Text);        // window text
        case 15: return pal.color(QPalette::Button);     // button face
        case 18: return pal.color(QPalette::ButtonText); // button text
        default: return pal.color(QPalette::Window);
        }
    }
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

quint32 colorRef(const QColor& c) {
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

} // namespace VbUnits
