#include "app/CameraSettings.h"

#include <QSettings>
#include <QString>

namespace {

const QString kDevice = QStringLiteral("webcam/dispositivo");
const QString kName = QStringLiteral("webcam/nombre");
const QString kWidth = QStringLiteral("webcam/ancho");
const QString kHeight = QStringLiteral("webcam/alto");
// The device value of "Ninguna (solo teclas)".
const QString kNoDevice = QStringLiteral("ninguna");

QSettings UserSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("brumaria"),
                     QStringLiteral("brumaria"));
}

}  // namespace

CameraChoice CameraSettings::Load()
{
    const QSettings settings = UserSettings();
    CameraChoice choice;
    const QString device = settings.value(kDevice).toString();
    if (device == kNoDevice) {
        choice.kind = CameraChoice::Kind::NoCamera;
    } else if (!device.isEmpty()) {
        choice.kind = CameraChoice::Kind::Device;
        choice.path = device.toStdString();
        choice.name = settings.value(kName).toString().toStdString();
    }
    const int width = settings.value(kWidth).toInt();
    const int height = settings.value(kHeight).toInt();
    if (width > 0 && height > 0)
        choice.size = {width, height};
    return choice;
}

bool CameraSettings::Save(const CameraChoice& choice)
{
    QSettings settings = UserSettings();
    settings.remove(kName);
    switch (choice.kind) {
    case CameraChoice::Kind::AnyCamera: settings.remove(kDevice); break;
    case CameraChoice::Kind::NoCamera: settings.setValue(kDevice, kNoDevice); break;
    case CameraChoice::Kind::Device:
        settings.setValue(kDevice, QString::fromStdString(choice.path));
        settings.setValue(kName, QString::fromStdString(choice.name));
        break;
    }
    settings.setValue(kWidth, choice.size.width);
    settings.setValue(kHeight, choice.size.height);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

std::string CameraSettings::FileName()
{
    return UserSettings().fileName().toStdString();
}
