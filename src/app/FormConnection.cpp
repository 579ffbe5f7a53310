#include "app/FormConnection.h"

#include "app/ConnectionStartTexts.h"
#include "app/FormConnectionTexts.h"
#include "data/ConnectionCheck.h"
#include "ui/Dialogs.h"
#include "ui/ScreenFit.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

FormConnection::FormConnection(const QString& file, ConnectionConfig::Scope scope, QWidget* parent)
    : QDialog(parent), m_file(file), m_scope(scope) {
    setObjectName(QStringLiteral("FormConnection"));
    setWindowTitle(FormConnectionTexts::Title);
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(FormConnectionTexts::Intro + QStringLiteral("\n") + QDir::toNativeSeparators(file), this);
    intro->setObjectName(QStringLiteral("LabelIntro"));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* form = new QFormLayout;
    // Names, addresses and passwords read left to right whatever the window's direction.
    const auto field = [&](QLineEdit*& edit, const char* name, const QString& caption) {
        edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setLayoutDirection(Qt::LeftToRight);
        edit->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
        form->addRow(caption, edit);
    };
    ComDriver = new QComboBox(this);
    ComDriver->setObjectName(QStringLiteral("ComDriver"));
    ComDriver->setEditable(true);
    ComDriver->setLayoutDirection(Qt::LeftToRight);
    ComDriver->addItems({QStringLiteral("SQL Server"), QStringLiteral("ODBC Driver 18 for SQL Server"),
                         QStringLiteral("ODBC Driver 17 for SQL Server")});
    form->addRow(FormConnectionTexts::Driver, ComDriver);
    field(TextServer, "TextServer", FormConnectionTexts::Server);
    field(TextDatabase, "TextDatabase", FormConnectionTexts::Database);
    field(TextUid, "TextUid", FormConnectionTexts::Uid);
    field(TextPwd, "TextPwd", FormConnectionTexts::Pwd);
    TextPwd->setEchoMode(QLineEdit::Password);
    field(TextExtra, "TextExtra", FormConnectionTexts::Extra);
    for (int row = 0; row < form->rowCount(); ++row)
        if (QLayoutItem* item = form->itemAt(row, QFormLayout::LabelRole))
            item->widget()->setObjectName(QStringLiteral("LabelField%1").arg(row));
    layout->addLayout(form);

    TextAnswer = new QPlainTextEdit(this);
    TextAnswer->setObjectName(QStringLiteral("TextAnswer"));
    TextAnswer->setReadOnly(true);
    TextAnswer->setMaximumHeight(fontMetrics().lineSpacing() * 5);
    layout->addWidget(TextAnswer);

    auto* buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("Buttons"));
    CommandTest = buttons->addButton(FormConnectionTexts::Test, QDialogButtonBox::ActionRole);
    CommandTest->setObjectName(QStringLiteral("CommandTest"));
    CommandSave = buttons->addButton(FormConnectionTexts::Save, QDialogButtonBox::AcceptRole);
    CommandSave->setObjectName(QStringLiteral("CommandSave"));
    CommandClose = buttons->addButton(FormConnectionTexts::Close, QDialogButtonBox::RejectRole);
    CommandClose->setObjectName(QStringLiteral("CommandClose"));
    layout->addWidget(buttons);
    connect(CommandTest, &QPushButton::clicked, this, &FormConnection::CommandTest_Click);
    connect(CommandSave, &QPushButton::clicked, this, [this] {
        if (CommandSave_Click())
            accept();
    });
    connect(CommandClose, &QPushButton::clicked, this, &QDialog::reject);
    for (QPushButton* b : {CommandTest, CommandSave, CommandClose})
        b->setAutoDefault(false);
    ScreenFit::apply(*this);
}

ConnectionConfig::Values FormConnection::values() const {
    // As typed: blanks, braces and the like are part of a value.
    return {ComDriver->currentText(), TextServer->text(), TextDatabase->text(),
            TextUid->text(),          TextPwd->text(),    TextExtra->text()};
}

void FormConnection::setValues(const ConnectionConfig::Values& v) {
    ComDriver->setCurrentText(v.driver);
    TextServer->setText(v.host);
    TextDatabase->setText(v.database);
    TextUid->setText(v.uid);
    TextPwd->setText(v.pwd);
    TextExtra->setText(v.extra);
}

void FormConnection::CommandTest_Click() {
    TextAnswer->setPlainText(FormConnectionTexts::Testing);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const ConnectionConfig::Values v = values();
    const ConnectionCheck::Result r = ConnectionCheck::test(v);
    QApplication::restoreOverrideCursor();
    if (r.ok)
        TextAnswer->setPlainText(FormConnectionTexts::TestOk + r.answer);
    else if (r.driverMissing)
        TextAnswer->setPlainText(ConnectionStartTexts::DriverMissing.arg(v.driver) + QStringLiteral("\n\n") + r.answer);
    else
        TextAnswer->setPlainText(FormConnectionTexts::TestFailed + r.answer);
}

bool FormConnection::CommandSave_Click() {
    const ConnectionConfig::Values v = values();
    if (v.host.trimmed().isEmpty()) {
        Dialogs::MsgBox(FormConnectionTexts::ServerRequired, Dialogs::vbOKOnly, this);
        TextServer->setFocus();
        return false;
    }
    QString error;
    if (!ConnectionConfig::write(m_file, v, m_scope, &error)) {
        Dialogs::MsgBox(FormConnectionTexts::SaveFailed + error, Dialogs::vbOKOnly, this);
        return false;
    }
    Dialogs::MsgBox(FormConnectionTexts::Saved.arg(QDir::toNativeSeparators(m_file)), Dialogs::vbOKOnly, this);
    return true;
}
