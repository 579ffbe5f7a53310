#include "paper/SheetPrinter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPagedPaintDevice>
#include <QTextLayout>
#include <algorithm>

namespace {
constexpr double MmPerInch = 25.4;
constexpr double LineDotsPerInch = 600;
// The sheet was laid out for faces whose ascent is 0.905 em and whose line is 1.15 em; faces with
// tall Arabic metrics would otherwise sit their text on the table rules below.
constexpr double DesignAscentEm = 0.905;
constexpr double DesignLineEm = 1.15;

// Mixed Arabic and number texts keep their blanks and colons in place only when laid out as one
// paragraph with the direction of their first strong character.
struct LaidOut {
    std::unique_ptr<QTextLayout> layout;
    double width = 0;
    double ascent = 0;
};
LaidOut layOut(const QString& text, const QFont& font, QPaintDevice* device) {
    LaidOut r;
    r.layout = std::make_unique<QTextLayout>(text, font, device);
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    r.layout->setTextOption(option);
    r.layout->setCacheEnabled(true);
    r.layout->beginLayout();
    QTextLine line = r.layout->createLine();
    if (line.isValid()) {
        line.setLineWidth(1e7);
        line.setPosition(QPointF(0, 0));
        r.width = line.naturalTextWidth();
        r.ascent = line.ascent();
    }
    r.layout->endLayout();
    return r;
}
} // namespace

SheetPrinter::SheetPrinter(QPagedPaintDevice* device, QPointF pageOriginMm, const QString& fontFamily)
    : m_device(device), m_pageOrigin(pageOriginMm) {
    // The group's design face first; Debian machines have Noto, others Arial.
    if (fontFamily.isEmpty())
        m_font.setFamilies({QStringLiteral("Arabic Transparent"), QStringLiteral("Noto Sans Arabic"),
                            QStringLiteral("Arial"), QGuiApplication::font().family()});
    else
        m_font.setFamily(fontFamily);
    m_font.setPointSizeF(10);
    m_font.setBold(false);
}

SheetPrinter::~SheetPrinter() {
    if (m_painter.isActive())
        m_painter.end();
}

bool SheetPrinter::begin() {
    return ensureActive();
}

bool SheetPrinter::ensureActive() {
    if (m_painter.isActive())
        return true;
    if (m_failed || !m_device)
        return false;
    if (!m_painter.begin(m_device)) {
        m_failed = true;
        return false;
    }
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    return true;
}

void SheetPrinter::setFontSize(double points) {
    if (points > 0)
        m_font.setPointSizeF(points);
}

QPointF SheetPrinter::toDevice(double xMm, double yMm) const {
    if (!m_device)
        return {};
    const double dx = m_device->logicalDpiX() / MmPerInch;
    const double dy = m_device->logicalDpiY() / MmPerInch;
    return QPointF((m_pageOrigin.x() + (xMm - m_scaleLeft) * m_zoom) * dx,
                   (m_pageOrigin.y() + (yMm - m_scaleTop) * m_zoom) * dy);
}

double SheetPrinter::lengthToDevice(double mm) const {
    return m_device ? mm * m_device->logicalDpiX() / MmPerInch : 0;
}

double SheetPrinter::textWidth(const QString& text) const {
    if (!m_device || text.isEmpty())
        return 0;
    const LaidOut l = layOut(text, m_font, m_device);
    return l.width * MmPerInch / m_device->logicalDpiX() / m_zoom;
}

double SheetPrinter::fittingSize(const QString& text, double width, double smallest) {
    const double size = fontSize();
    double s = size;
    while (s > smallest && textWidth(text) > width) {
        s = std::max(smallest, s - 0.5);
        setFontSize(s);
    }
    setFontSize(size);
    return s;
}

QStringList SheetPrinter::wrapped(const QString& text, double width) const {
    if (!m_device || text.isEmpty())
        return {text};
    QTextLayout layout(text, m_font, m_device);
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const double widthDevice = width * m_zoom * m_device->logicalDpiX() / MmPerInch;
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(widthDevice);
        const QString piece = text.mid(line.textStart(), line.textLength()).trimmed();
        if (!piece.isEmpty())
            lines << piece;
    }
    layout.endLayout();
    // The layout measures each line on its own shaping; a piece measured again can still be a hair
    // wider once its neighbours are gone: cut such a piece once more.
    QStringList out;
    for (const QString& l : lines) {
        if (l.size() > 1 && textWidth(l) > width) {
            int keep = int(l.size()) - 1;
            while (keep > 1 && textWidth(l.left(keep)) > width)
                --keep;
            out << l.left(keep) << wrapped(l.mid(keep), width);
        } else {
            out << l;
        }
    }
    return out.isEmpty() ? QStringList{text} : out;
}

QString SheetPrinter::elided(const QString& text, double width) const {
    if (textWidth(text) <= width)
        return text;
    static const QString dots = QStringLiteral("…");
    int lo = 0;
    int hi = int(text.size());
    while (lo < hi) { // the longest start that fits with the ellipsis
        const int mid = (lo + hi + 1) / 2;
        if (textWidth(text.left(mid).trimmed() + dots) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo > 0 ? text.left(lo).trimmed() + dots : QString();
}

SheetPrinter::Fit SheetPrinter::fitInto(const QString& text, double width, double preferred, double smallest) {
    const double saved = fontSize();
    Fit fit;
    for (double s = preferred;; s = std::max(smallest, s - 0.5)) {
        setFontSize(s);
        if (textWidth(text) <= width) {
            fit = {s, {text}};
            break;
        }
        if (s <= smallest)
            break;
    }
    if (fit.lines.isEmpty()) {
        for (double s = preferred;; s = std::max(smallest, s - 0.5)) {
            setFontSize(s);
            fit = {s, wrapped(text, width)};
            if (fit.lines.size() <= 2 || s <= smallest)
                break;
        }
    }
    setFontSize(saved);
    return fit;
}

double SheetPrinter::lineHeight(double points) {
    return DesignLineEm * points * MmPerInch / 72.0;
}

double SheetPrinter::heightOf(const Fit& fit, double margin) {
    return double(fit.lines.size()) * lineHeight(fit.size) + 2 * margin;
}

void SheetPrinter::printInCell(const Fit& fit, double x, double width, double top, double height, Align align) {
    const double saved = fontSize();
    setFontSize(fit.size);
    const double step = lineHeight(fit.size);
    double y = top + (height - double(fit.lines.size()) * step) / 2;
    for (const QString& line : fit.lines) {
        if (!line.isEmpty()) {
            const double w = textWidth(line);
            m_x = align == Align::Right ? x + width - 0.8 - w : x + (width - w) / 2;
            m_y = y;
            print(line);
        }
        y += step;
    }
    setFontSize(saved);
}

void SheetPrinter::print(const QString& text) {
    if (!ensureActive())
        return;
    const LaidOut l = layOut(text, m_font, m_device);
    const double emMm = m_font.pointSizeF() * MmPerInch / 72.0;
    const QPointF top = toDevice(m_x, m_y);
    const double baseline = top.y() + lengthToDevice(DesignAscentEm * emMm);
    m_painter.setPen(Qt::black);
    l.layout->draw(&m_painter, QPointF(top.x(), baseline - l.ascent));
    m_x = m_scaleLeft;
    m_y += DesignLineEm * emMm;
}

void SheetPrinter::line(double x1, double y1, double x2, double y2) {
    if (!ensureActive())
        return;
    QPen pen(Qt::black);
    pen.setWidthF(lengthToDevice(m_drawWidth * MmPerInch / LineDotsPerInch));
    pen.setCapStyle(Qt::SquareCap);
    m_painter.setPen(pen);
    m_painter.drawLine(toDevice(x1, y1), toDevice(x2, y2));
}

void SheetPrinter::paintPicture(const QImage& image, double x, double y, double width, double height) {
    if (!ensureActive() || image.isNull())
        return;
    m_painter.drawImage(QRectF(toDevice(x, y), toDevice(x + width, y + height)), image);
}

bool SheetPrinter::newPage() {
    return ensureActive() && m_device->newPage();
}

bool SheetPrinter::endDoc() {
    if (!ensureActive())
        return false;
    return m_painter.end();
}
