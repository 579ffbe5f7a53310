#pragma once

#include <QVariantMap>
#include <QWidget>

class QLabel;
class QSettings;

// A push button drawn as a coloured panel with a centred caption that lights up under the pointer
// and shrinks while pressed. Hosts set Caption and react to Click only.
class ButonWeb : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
public:
    static constexpr quint32 SurfaceColor = 0x00CB8E29;
    static constexpr quint32 RestColor = 0x0000FFFF;
    static constexpr quint32 HoverColor = 0x00FF0000;
    static constexpr quint32 PressedColor = 0x00FFFFFF;
    static constexpr int PressShrinkPoints = 3;

    explicit ButonWeb(QWidget* parent = nullptr);

    QString Caption() const;
    void setCaption(const QString& caption);
    // True once the host has written Caption, so a designer knows to store it.
    bool captionChanged() const { return m_captionChanged; }

    // The host's property store: one entry, "Caption".
    void ReadProperties(const QVariantMap& store);
    void WriteProperties(QVariantMap& store) const;
    void ReadProperties(const QSettings& store);
    void WriteProperties(QSettings& store) const;

    QLabel* captionLabel() const { return m_label; }
    // The caption's text colour as COLORREF.
    quint32 captionColor() const { return m_color; }

signals:
    void Click();
    void propertyChanged(const QString& name);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setCaptionColor(quint32 colorRef);
    void changeFontSize(int points);
    void fitCaption();

    QLabel* m_label;
    quint32 m_color = RestColor;
    bool m_captionChanged = false;
    bool m_surfacePressed = false;
    int m_labelPresses = 0;
};
