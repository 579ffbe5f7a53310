#pragma once

#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QString>
#include <QStringList>

class QImage;
class QPagedPaintDevice;

// The printer object the sheet procedures draw with: millimetre coordinates with a movable
// origin, a current position, a current font size and bold attribute, text measuring, lines,
// pictures and a line width, all on one page of a paged device. Every coordinate goes through
// one millimetre-to-device conversion on full-page device coordinates; the painter itself is
// never scaled, so fonts keep their point sizes.
class SheetPrinter {
public:
    // pageOriginMm: where (0, 0) lies on the full page before any origin shift, normally the
    // top-left corner of the device's printable area. No family: the group's Arabic face.
    explicit SheetPrinter(QPagedPaintDevice* device, QPointF pageOriginMm = {},
                          const QString& fontFamily = {});
    ~SheetPrinter();
    SheetPrinter(const SheetPrinter&) = delete;
    SheetPrinter& operator=(const SheetPrinter&) = delete;

    // Starts the job (the first drawing would too); false when the device refuses.
    bool begin();
    bool isActive() const { return m_painter.isActive(); }

    // Setting the unit again keeps the origin shift: tables and pictures stay aligned.
    void setScaleModeMillimetres() {}
    void setScaleLeft(double mm) { m_scaleLeft = mm; }
    void setScaleTop(double mm) { m_scaleTop = mm; }
    double scaleLeft() const { return m_scaleLeft; }
    double scaleTop() const { return m_scaleTop; }
    // Millimetres of the page per millimetre of the drawing (1 by default): a sheet laid out wider
    // than the room a printer leaves is drawn smaller, its print keeping its point sizes. Widths
    // measured are in the drawing's millimetres.
    void setZoom(double pageMmPerMm) { m_zoom = pageMmPerMm > 0 ? pageMmPerMm : 1; }
    double zoom() const { return m_zoom; }

    double fontSize() const { return m_font.pointSizeF(); }
    void setFontSize(double points);
    bool fontBold() const { return m_font.bold(); }
    void setFontBold(bool on) { m_font.setBold(on); }
    const QFont& font() const { return m_font; }

    double currentX() const { return m_x; }
    double currentY() const { return m_y; }
    void setCurrentX(double mm) { m_x = mm; }
    void setCurrentY(double mm) { m_y = mm; }

    // Width of the text in the current font, millimetres.
    double textWidth(const QString& text) const;
    // The size at which text is no wider than width: the current size, lowered in half points
    // while the text runs over, but not below smallest. The current size stays as it was.
    double fittingSize(const QString& text, double width, double smallest);
    // The text cut into lines no wider than width in the current font: at word boundaries where it
    // can, anywhere inside a word that is wider than the line.
    QStringList wrapped(const QString& text, double width) const;
    // The text as it stands when no wider than width, else cut with an ellipsis to fit.
    QString elided(const QString& text, double width) const;
    // How a text goes into a cell width: on one line from the preferred size down to smallest,
    // else on as few lines as it needs, at the largest size from preferred down to smallest that
    // takes it on two lines (on more only at smallest). The current size stays as it was.
    struct Fit {
        double size = 0;
        QStringList lines;
    };
    Fit fitInto(const QString& text, double width, double preferred, double smallest);
    // Height of one printed line at a size, millimetres.
    static double lineHeight(double points);
    // Height a fit takes: its lines and a margin above and below.
    static double heightOf(const Fit& fit, double margin = 0.6);
    enum class Align { Right, Centre };
    // The fit's lines in the cell from x to x + width and top to top + height, centred up and down,
    // each line right-aligned (0.8 mm in) or centred. The current size stays as it was.
    void printInCell(const Fit& fit, double x, double width, double top, double height, Align align);
    // Prints the text with its top at the current position, then moves to the start of the next line.
    void print(const QString& text);
    void line(double x1, double y1, double x2, double y2);
    void paintPicture(const QImage& image, double x, double y, double width, double height);
    // Line width in pixels of a 600-dot-per-inch printer, whatever the device's resolution.
    void setDrawWidth(int pixels) { m_drawWidth = pixels; }
    int drawWidth() const { return m_drawWidth; }
    // Starts the next page of the same job.
    bool newPage();
    // Ends the document, which sends the page; false when the device reported a failure.
    bool endDoc();

    // The conversion every drawing operation uses.
    QPointF toDevice(double xMm, double yMm) const;
    double lengthToDevice(double mm) const;

private:
    bool ensureActive();

    QPagedPaintDevice* m_device;
    QPainter m_painter;
    QPointF m_pageOrigin;
    QFont m_font;
    double m_scaleLeft = 0;
    double m_scaleTop = 0;
    double m_zoom = 1;
    double m_x = 0;
    double m_y = 0;
    int m_drawWidth = 1;
    bool m_failed = false;
};
