#include "app/TAboutBox.h"

#include "ui_TAboutBox.h"
#include "windows/shell/MenuImages.h"
#include "windows/shell/WindowInstance.h"

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent), Form(std::make_unique<Ui::TAboutBox>()) {
    Form->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    Form->Picture->setPixmap(AboutImage());
    // The name is set in pixels, as the picture beside it is.
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(40);
    title.setBold(true);
    Form->Label1->setFont(title);
    WindowInstance<TAboutBox>::Register(this);
}

TAboutBox::~TAboutBox() = default;

TAboutBox& AboutBox() {
    return WindowInstance<TAboutBox>::Get();
}
