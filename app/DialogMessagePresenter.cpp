#include "app/DialogMessagePresenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <utility>

namespace {

void ShowInMessageBox(const ShownMessage& message)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(message.caption), QString::fromStdString(message.text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
    box.exec();
}

}  // namespace

DialogMessagePresenter::DialogMessagePresenter() : m_previous(SetMessagePresenter(ShowInMessageBox)) {}

DialogMessagePresenter::~DialogMessagePresenter()
{
    SetMessagePresenter(std::move(m_previous));
}
