#pragma once

#include <QImage>
#include <QRectF>

#include <algorithm>

// Where a drawn widget's ink lies across: the first and last columns holding a pixel that differs
// from the ground (read at the middle of the top row). left > right when nothing is drawn.
struct InkSpan {
    int left = 0;
    int right = -1;
    int width = 0;

    static InkSpan of(const QImage& img) {
        InkSpan s{img.width(), -1, img.width()};
        if (img.isNull())
            return s;
        const QRgb ground = img.pixel(img.width() / 2, 0);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) != ground) {
                    s.left = std::min(s.left, x);
                    s.right = std::max(s.right, x);
                }
        return s;
    }
    // The box around every dark pixel of a page rendered across its whole width, in millimetres.
    static QRectF boxMm(const QImage& page, double pageWidthMm) {
        const double mm = page.width() / pageWidthMm;
        QRectF ink;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (qGray(page.pixel(x, y)) < 200)
                    ink |= QRectF(x / mm, y / mm, 1 / mm, 1 / mm);
        return ink;
    }
    // Ends within slack pixels of the right edge.
    bool atRightEdge(int slack = 8) const { return right >= width - 1 - slack && left <= right; }
};
