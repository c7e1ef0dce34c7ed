#include "windows/shell/TErrorBox.h"

#include "model/ErrorReport.h"
#include "ui_TErrorBox.h"
#include "windows/shell/Help.h"
#include "windows/shell/MenuImages.h"
#include "windows/shell/WindowInstance.h"

#include <QApplication>
#include <QThread>

#include <cstdio>

namespace {
void ReportToErrorBox(const std::string& context, const std::string& message) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app) {
        // No windows (yet, or any more): the report must still go somewhere.
        std::fprintf(stderr, "Program error in %s: %s\n", context.c_str(), message.c_str());
        return;
    }
    const QString contextText = QString::fromStdString(context);
    const QString messageText = QString::fromStdString(message);
    if (QThread::currentThread() != app->thread()) {
        QMetaObject::invokeMethod(
            app, [&] { ErrorBox().ShowError(contextText, messageText); },
            Qt::BlockingQueuedConnection);
        return;
    }
    ErrorBox().ShowError(contextText, messageText);
}
} // namespace

TErrorBox::TErrorBox(QWidget* parent) : QDialog(parent), Form(std::make_unique<Ui::TErrorBox>()) {
    SetHelpTopic(this, "IDH_TOPIC4");
    Form->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    Form->Image1->setPixmap(ErrorImage());
    QPalette yellow = Form->ContextLabel->palette();
    yellow.setColor(QPalette::Window, Qt::yellow);
    yellow.setColor(QPalette::Base, Qt::yellow);
    yellow.setColor(QPalette::WindowText, Qt::black);
    yellow.setColor(QPalette::Text, Qt::black);
    Form->ContextLabel->setPalette(yellow);
    Form->MessageText->setPalette(yellow);
    connect(Form->Contact, &QPushButton::clicked, this, &TErrorBox::ContactClick);
    WindowInstance<TErrorBox>::Register(this);
    InstallErrorBox();
}

TErrorBox::~TErrorBox() = default;

void TErrorBox::ShowError(const QString& context, const QString& message) {
    if (isVisible()) {
        // An error while the box is up (from a handler of its own): keep it, not the box.
        std::fprintf(stderr, "Program error in %s: %s\n", qPrintable(context), qPrintable(message));
        return;
    }
    SetTexts(context, message);
    Form->ContinueBtn->setFocus();
    exec();
}

void TErrorBox::SetTexts(const QString& context, const QString& message) {
    QString lines = message;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Form->ContextLabel->setText(context);
    Form->MessageText->setPlainText(lines);
}

QString TErrorBox::Context() const {
    return Form->ContextLabel->text();
}

QString TErrorBox::Message() const {
    return Form->MessageText->toPlainText();
}

void TErrorBox::ContactClick() {
    ShowHelpTopic(QStringLiteral("IDH_TOPIC4"), this);
}

TErrorBox& ErrorBox() {
    return WindowInstance<TErrorBox>::Get();
}

void InstallErrorBox() {
    SetErrorReportHandler(ReportToErrorBox);
}
