#include "app/CAboutDialog.h"

#include "app/DialogUnits.h"

#include <QLabel>
#include <QPushButton>

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Acerca de Brumaria"));
    const DialogUnits units(font());
    setFixedSize(units.Size(235, 55));

    auto* icon = new QLabel(this);
    icon->setPixmap(windowIcon().pixmap(32, 32));
    icon->move(units.X(11), units.Y(17));

    auto* text = new QLabel(QStringLiteral("Brumaria Version 1.0"), this);
    text->move(units.X(40), units.Y(10));

    auto* ok = new QPushButton(QStringLiteral("Aceptar"), this);
    ok->setGeometry(units.Rect(178, 7, 50, 16));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
