#include "app/CParamDeteccion.h"

#include "app/DialogUnits.h"
#include "tracking/MotionSettings.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

struct OptionRow {
    const char* name;
    const char* text;
    bool MovementOptions::*option;
};

// Top to bottom.
const OptionRow kRows[CParamDeteccion::kOptionCount] = {
    {"moveX", "Desplazamiento izquierda o derecha", &MovementOptions::moveX},
    {"moveY", "Desplazamiento arriba o abajo", &MovementOptions::moveY},
    {"moveZ", "Desplazamiento adelante o atrás", &MovementOptions::moveZ},
    {"rotateX", "Rotar sobre el eje X", &MovementOptions::rotateX},
    {"rotateY", "Rotar sobre el eje Y", &MovementOptions::rotateY},
    {"rotateZ", "Rotar sobre el eje Z", &MovementOptions::rotateZ},
};

// The order in which the boxes are filled and read: walking first.
constexpr int kExchangeOrder[CParamDeteccion::kOptionCount] = {2, 1, 0, 3, 4, 5};

// Layout in dialog units.
constexpr int kWidth = 187;
constexpr int kHeight = 132;
constexpr int kBoxX = 14;
constexpr int kFirstBoxY = 10;
constexpr int kBoxStep = 15;
constexpr int kBoxHeight = 10;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonY = 111;

}  // namespace

CParamDeteccion::CParamDeteccion(MotionSettings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_settings(settings)
{
    setWindowTitle(QStringLiteral("Opciones Detección"));
    const DialogUnits units(font());
    setFixedSize(units.Size(kWidth, kHeight));

    for (int i = 0; i < kOptionCount; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(kRows[i].text), this);
        box->setObjectName(QString::fromLatin1(kRows[i].name));
        box->setGeometry(units.Rect(kBoxX, kFirstBoxY + i * kBoxStep, kWidth - 2 * kBoxX, kBoxHeight));
        m_boxes[i] = box;
    }

    auto* ok = new QPushButton(QStringLiteral("Aceptar"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(units.Rect((kWidth - kButtonWidth) / 2, kButtonY, kButtonWidth, kButtonHeight));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CParamDeteccion::OnOK);

    for (const int i : kExchangeOrder)
        m_boxes[i]->setChecked(m_settings.Options().*kRows[i].option);
}

void CParamDeteccion::OnOK()
{
    for (const int i : kExchangeOrder)
        m_settings.Options().*kRows[i].option = m_boxes[i]->isChecked();
    accept();
}
