#pragma once

#include <QDialog>
#include <QLabel>

class QComboBox;
class QLineEdit;
class QPushButton;

// A label that reports a click, for the governorate label that explains the one-governorate build.
class FFFLOGINLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The pharmacist's login: phone number and district, stored in the login globals on OK.
class FFFLOGIN : public QDialog {
    Q_OBJECT
public:
    explicit FFFLOGIN(QWidget* parent = nullptr);

    QLineEdit* TextTel;
    QComboBox* ComMarkaz;
    QPushButton* Command1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    FFFLOGINLabel* Label4;

    void Command1_Click();
    void Label4_Click();


protected:
    void showEvent(QShowEvent* event) override;
};
