#include "app/CParametros.h"

#include "app/DialogUnits.h"
#include "app/core/TextToInt32.h"
#include "platform/MessageBox.h"
#include "tracking/MotionSettings.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cstdint>

namespace {

struct ThresholdRow {
    const char* name;
    const char* label;
    const char* unit;
    const char* restoreText;
    std::int32_t DetectionThresholds::*threshold;
};

const ThresholdRow kRows[CParametros::kThresholdCount] = {
    {"distanceX", "Distancia para desplazamientos laterales:", "%", "20", &DetectionThresholds::distanceX},
    {"distanceY", "Distancia entre ojos y boca:", "%", "20", &DetectionThresholds::distanceY},
    {"distanceZ", "Distancia interocular para andar:", "%", "20", &DetectionThresholds::distanceZ},
    {"yawThreshold", "Giro X:", "pixeles", "3", &DetectionThresholds::yawThreshold},
    {"pitchUpThreshold", "Giro Y arriba:", "pixeles", "10", &DetectionThresholds::pitchUpThreshold},
    {"pitchDownThreshold", "Giro Y abajo:", "pixeles", "-1", &DetectionThresholds::pitchDownThreshold},
    {"rollThreshold", "Giro Z:", "º", "10", &DetectionThresholds::rollThreshold},
};

// Layout in dialog units.
constexpr int kWidth = 235;
constexpr int kHeight = 160;
constexpr int kMargin = 7;
constexpr int kFirstRowY = 24;
constexpr int kRowStep = 16;
constexpr int kEditX = 150;
constexpr int kEditWidth = 40;
constexpr int kRowHeight = 14;
constexpr int kButtonY = 140;

}  // namespace

CParametros::CParametros(MotionSettings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_settings(settings)
{
    setWindowTitle(QStringLiteral("Parámetros"));
    const DialogUnits units(font());
    setFixedSize(units.Size(kWidth, kHeight));

    auto* heading = new QLabel(QStringLiteral("UMBRALES"), this);
    heading->setGeometry(units.Rect(kMargin, kMargin, kWidth - 2 * kMargin, 10));

    for (int i = 0; i < kThresholdCount; ++i) {
        const ThresholdRow& row = kRows[i];
        const int y = kFirstRowY + i * kRowStep;
        auto* label = new QLabel(QString::fromUtf8(row.label), this);
        label->setGeometry(units.Rect(kMargin, y, kEditX - kMargin - 4, kRowHeight));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

        QLineEdit* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(row.name));
        edit->setGeometry(units.Rect(kEditX, y, kEditWidth, kRowHeight));
        label->setBuddy(edit);
        m_edits[i] = edit;

        auto* unit = new QLabel(QString::fromUtf8(row.unit), this);
        unit->setGeometry(
            units.Rect(kEditX + kEditWidth + 4, y, kWidth - kMargin - (kEditX + kEditWidth + 4), kRowHeight));
        unit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }

    auto* restore = new QPushButton(QStringLiteral("Restaurar valores"), this);
    restore->setObjectName(QStringLiteral("restore"));
    restore->setGeometry(units.Rect(kMargin, kButtonY, 70, kRowHeight));
    restore->setAutoDefault(false);
    connect(restore, &QPushButton::clicked, this, &CParametros::OnRestore);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(units.Rect(kWidth - kMargin - 50, kButtonY, 50, kRowHeight));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CParametros::OnOK);

    for (int i = 0; i < kThresholdCount; ++i)
        m_edits[i]->setText(QString::number(m_settings.Thresholds().*kRows[i].threshold));
}

void CParametros::OnRestore()
{
    for (int i = 0; i < kThresholdCount; ++i)
        m_edits[i]->setText(QString::fromLatin1(kRows[i].restoreText));
}

void CParametros::OnOK()
{
    for (int i = 0; i < kThresholdCount; ++i)
        m_settings.SetThreshold(kRows[i].threshold, TextToInt32(m_edits[i]->text().toStdString()));
    const bool saved = m_settings.SaveThresholds();
    // The new values hold for this run either way, but the player should know they will be
    // gone at the next start.
    if (!saved)
        ShowMessageBox(kApplicationTitle,
                       "No se puede guardar el fichero \"configuracion\": los umbrales nuevos "
                       "valen solo hasta que termine el programa.");
    accept();
}
