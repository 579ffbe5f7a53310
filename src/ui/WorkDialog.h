#pragma once

#include <QDialog>
#include <QStringList>
#include <vector>

class FlexGridView;
class QDateEdit;
class QLabel;
class QPushButton;

// What the group's working windows (the group demand, purchase orders, wholesalers) share: a modal
// right-to-left dialog in the program's face that Escape does not end (work in it would be lost),
// and the named buttons, labels, date fields and grids they are built of.
class WorkDialog : public QDialog {
    Q_OBJECT
public:
    WorkDialog(QWidget* parent, const char* name, const QString& title);

protected:
    // A button that Enter in another control does not press.
    QPushButton* button(const char* name, const QString& caption);
    QLabel* label(const char* name, const QString& text = {}, bool wordWrap = true);
    // Day/month/year in Latin digits, whatever the machine's language, with a calendar.
    QDateEdit* date(const char* name);
    // A grid of the headers alone, columns of the widths (twips), centred.
    FlexGridView* grid(const char* name, const QStringList& headers, const std::vector<int>& widths);
    // Widens the columns to their longest texts, headers included, so nothing is cut short.
    static void fitColumns(FlexGridView* view);
};
