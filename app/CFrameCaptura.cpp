#include "app/CFrameCaptura.h"

#include "app/DialogUnits.h"
#include "app/core/ProcessSettings.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace {

// Layout in dialog units.
constexpr int kWidth = 187;
constexpr int kHeight = 65;
constexpr int kSliderWidth = 100;
constexpr int kSliderX = (kWidth - kSliderWidth) / 2;
constexpr int kButtonWidth = 50;

}  // namespace

CFrameCaptura::CFrameCaptura(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_slider(new QSlider(Qt::Horizontal, this)), m_value(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Capturas por segundo"));
    const DialogUnits units(font());
    setFixedSize(units.Size(kWidth, kHeight));

    m_slider->setObjectName(QStringLiteral("slider"));
    m_slider->setGeometry(units.Rect(kSliderX, 8, kSliderWidth, 15));
    m_slider->setTickPosition(QSlider::NoTicks);
    m_slider->setRange(kMinimum, kMaximum);
    m_slider->setValue(g_nCapturesPerSecond);

    m_value->setObjectName(QStringLiteral("value"));
    m_value->setGeometry(units.Rect(kSliderX, 26, kSliderWidth, 8));
    m_value->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_value->setText(QString::number(g_nCapturesPerSecond));

    auto* ok = new QPushButton(QStringLiteral("Aceptar"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(units.Rect((kWidth - kButtonWidth) / 2, 44, kButtonWidth, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // Mouse and keys alike, while dragging too.
    connect(m_slider, &QSlider::valueChanged, this, &CFrameCaptura::OnMoved);
}

void CFrameCaptura::OnMoved(int value)
{
    g_nCapturesPerSecond = value;
    m_value->setText(QString::number(value));
}
