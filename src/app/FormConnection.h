#pragma once

#include "data/ConnectionConfig.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The small window in which the group's IT sets where this machine's copy finds its server: the
// values, a test that shows the server's answer, and saving them to the settings file of scope.
class FormConnection : public QDialog {
    Q_OBJECT
public:
    FormConnection(const QString& file, ConnectionConfig::Scope scope, QWidget* parent = nullptr);

    QComboBox* ComDriver;
    QLineEdit* TextServer;
    QLineEdit* TextDatabase;
    QLineEdit* TextUid;
    QLineEdit* TextPwd;
    QLineEdit* TextExtra;
    QPushButton* CommandTest;
    QPushButton* CommandSave;
    QPushButton* CommandClose;
    QPlainTextEdit* TextAnswer;

    ConnectionConfig::Values values() const;
    void setValues(const ConnectionConfig::Values& values);
    void CommandTest_Click();
    // Writes the file; true when it was written (the window then closes as accepted).
    bool CommandSave_Click();

private:
    QString m_file;
    ConnectionConfig::Scope m_scope;
};
