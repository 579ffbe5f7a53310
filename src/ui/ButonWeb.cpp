#include "ui/ButonWeb.h"

#include "ui/VbUnits.h"

#include <QLabel>
#include <QMouseEvent>
#include <QSettings>
#include <algorithm>

namespace {
const QString CaptionEntry = QStringLiteral("Caption");
const QString DesignCaption = QStringLiteral("ButtonWeb");
} // namespace

ButonWeb::ButonWeb(QWidget* parent) : QWidget(parent), m_label(new QLabel(this)) {
    setObjectName(QStringLiteral("ButonWeb"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, VbUnits::color(SurfaceColor));
    setPalette(pal);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);

    m_label->setObjectName(QStringLiteral("LLLCaption"));
    m_label->setAutoFillBackground(false);
    m_label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_label->setMouseTracking(true);
    QFont f(QStringLiteral("Arabic Transparent"));
    f.setPointSize(12);
    f.setBold(true);
    m_label->setFont(f);
    m_label->setText(DesignCaption);
    m_label->setGeometry(VbUnits::rect(270, 60, 1170, 285));
    m_label->installEventFilter(this);
    setCaptionColor(RestColor);
    resize(VbUnits::px(1830), VbUnits::px(420));
}

QString ButonWeb::Caption() const {
    return m_label->text();
}

void ButonWeb::setCaption(const QString& caption) {
    m_label->setText(caption);
    fitCaption();
    m_captionChanged = true;
    emit propertyChanged(CaptionEntry);
}

void ButonWeb::ReadProperties(const QVariantMap& store) {
    m_label->setText(store.value(CaptionEntry, DesignCaption).toString());
    fitCaption();
}

void ButonWeb::WriteProperties(QVariantMap& store) const {
    store.insert(CaptionEntry, Caption());
}

void ButonWeb::ReadProperties(const QSettings& store) {
    m_label->setText(store.value(CaptionEntry, DesignCaption).toString());
    fitCaption();
}

void ButonWeb::WriteProperties(QSettings& store) const {
    store.setValue(CaptionEntry, Caption());
}

void ButonWeb::setCaptionColor(quint32 colorRef) {
    m_color = colorRef;
    QPalette pal = m_label->palette();
    pal.setColor(QPalette::WindowText, VbUnits::color(colorRef));
    m_label->setPalette(pal);
}

void ButonWeb::fitCaption() {
    // The face that stands in for the design font on this machine may run wider; condense the text
    // rather than cut it off at the label's edges.
    QFont f = m_label->font();
    f.setStretch(QFont::Unstretched);
    const int room = m_label->width() - 2;
    const int advance = QFontMetrics(f).horizontalAdvance(m_label->text());
    if (advance > room && advance > 0) {
        // Glyph widths do not scale exactly with the stretch; step down until the text fits.
        int stretch = std::max(50, room * 100 / advance);
        f.setStretch(stretch);
        while (stretch > 50 && QFontMetrics(f).horizontalAdvance(m_label->text()) > room)
            f.setStretch(stretch -= 2);
    }
    m_label->setFont(f);
}

void ButonWeb::changeFontSize(int points) {
    QFont f = m_label->font();
    f.setPointSize(f.pointSize() + points);
    m_label->setFont(f);
}

void ButonWeb::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int w = width();
    const int lh = m_label->height();
    m_label->setGeometry(qRound(w * 0.12), (height() - lh) / 2, qRound(w * 0.75), lh);
    fitCaption();
}

void ButonWeb::mouseMoveEvent(QMouseEvent* event) {
    setCaptionColor(RestColor);
    QWidget::mouseMoveEvent(event);
}

void ButonWeb::mousePressEvent(QMouseEvent* event) {
    m_surfacePressed = true;
    event->accept();
}

void ButonWeb::mouseReleaseEvent(QMouseEvent* event) {
    // A click on the bare surface counts only when the button comes up over the control.
    const bool inside = rect().contains(event->position().toPoint());
    const bool pressed = m_surfacePressed;
    if (event->buttons() == Qt::NoButton)
        m_surfacePressed = false;
    event->accept();
    if (pressed && inside)
        emit Click();
}

bool ButonWeb::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_label)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove:
        if (static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton)
            setCaptionColor(HoverColor);
        return true;
    case QEvent::MouseButtonPress:
        setCaptionColor(PressedColor);
        changeFontSize(-PressShrinkPoints);
        ++m_labelPresses;
        return true;
    case QEvent::MouseButtonDblClick:
        // The second press of a double click arrives as a press of its own as well.
        return true;
    case QEvent::MouseButtonRelease:
        // Qt hands the release to the label that took the press, wherever the pointer is now.
        setCaptionColor(RestColor);
        if (m_labelPresses > 0) {
            --m_labelPresses;
            changeFontSize(PressShrinkPoints);
        }
        emit Click();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}
