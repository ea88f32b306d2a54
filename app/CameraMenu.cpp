#include "app/CameraMenu.h"

#include "app/CameraSettings.h"
#include "platform/MessageBox.h"
#include "tracking/CameraLister.h"
#include "tracking/capture/CaptureSource.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

// The sizes as the menu shows them: "640 × 480".
QString SizeText(FrameSize size)
{
    return QStringLiteral("%1 × %2").arg(size.width).arg(size.height);
}

const VideoDevice* FindCamera(const std::vector<VideoDevice>& cameras, const std::string& path)
{
    const auto camera =
        std::find_if(cameras.begin(), cameras.end(), [&path](const VideoDevice& c) { return c.path == path; });
    return camera == cameras.end() ? nullptr : &*camera;
}

}  // namespace

CameraMenu::CameraMenu(QMenu& menu, CameraLister& lister, CaptureOpener& opener)
    : m_menu(menu), m_sizes(new QMenu(QString::fromUtf8(kSizesText), &menu)), m_lister(lister), m_opener(opener),
      m_choice(CameraSettings::Load())
{
    if (m_choice.kind == CameraChoice::Kind::Device) {
        // Device numbers follow the order cameras were plugged in.
        const std::vector<VideoDevice> cameras = m_lister.Cameras();
        const VideoDevice* same = FindCamera(cameras, m_choice.path);
        const auto named = std::find_if(cameras.begin(), cameras.end(),
                                        [this](const VideoDevice& c) { return c.name == m_choice.name; });
        if ((!same || same->name != m_choice.name) && named != cameras.end())
            m_choice.path = named->path;
    }
    m_opener.SetCameraChoice(m_choice);
    // Listing opens every device: done only when the player opens the menu.
    connect(&m_menu, &QMenu::aboutToShow, this, &CameraMenu::Rebuild);
}

void CameraMenu::SetChosenHandler(std::function<void()> handler)
{
    m_chosen = std::move(handler);
}

FrameSize CameraMenu::SizeFor(const VideoDevice& camera, FrameSize present)
{
    const std::vector<FrameSize>& sizes = camera.sizes;
    for (const FrameSize wanted : {present, CameraChoice::kDefaultSize}) {
        if (std::find(sizes.begin(), sizes.end(), wanted) != sizes.end())
            return wanted;
    }
    if (sizes.empty())
        return present;
    constexpr FrameSize kUsual = CameraChoice::kDefaultSize;
    const auto area = [kUsual](FrameSize size) {
        return std::abs(size.width * size.height - kUsual.width * kUsual.height);
    };
    return *std::min_element(sizes.begin(), sizes.end(),
                             [&area](FrameSize a, FrameSize b) { return area(a) < area(b); });
}

void CameraMenu::Rebuild()
{
    m_menu.clear();
    m_sizes->clear();
    // One camera and one size: the menus show them as radio buttons.
    delete m_cameraGroup;
    delete m_sizeGroup;
    m_cameraGroup = new QActionGroup(this);
    m_sizeGroup = new QActionGroup(this);
    const auto addChoice = [this](QMenu& menu, const QString& text, bool checked, const CameraChoice& choice) {
        QAction* action = menu.addAction(text);
        action->setCheckable(true);
        action->setChecked(checked);
        action->setActionGroup(&menu == m_sizes ? m_sizeGroup : m_cameraGroup);
        connect(action, &QAction::triggered, this, [this, choice] { Choose(choice); });
    };

    if (CaptureSource::NamesACamera(CameraChoice{})) {
        const QString variable = QString::fromLatin1(CaptureSource::kCameraVariable);
        const QString value = QString::fromLocal8Bit(qgetenv(CaptureSource::kCameraVariable));
        m_menu.addAction(QStringLiteral("%1=%2 manda sobre esta elección").arg(variable, value))->setEnabled(false);
    }
    const std::vector<VideoDevice> cameras = m_lister.Cameras();
    const bool deviceChosen = m_choice.kind == CameraChoice::Kind::Device;
    for (const VideoDevice& camera : cameras) {
        CameraChoice choice{CameraChoice::Kind::Device, camera.path, camera.name, SizeFor(camera, m_choice.size)};
        addChoice(m_menu, QString::fromStdString(camera.name), deviceChosen && camera.path == m_choice.path, choice);
    }
    CameraChoice none = m_choice;
    none.kind = CameraChoice::Kind::NoCamera;
    addChoice(m_menu, QString::fromUtf8(kNoCameraText), m_choice.kind == CameraChoice::Kind::NoCamera, none);

    m_menu.addSeparator();
    m_menu.addMenu(m_sizes);
    const VideoDevice* chosen = deviceChosen ? FindCamera(cameras, m_choice.path) : nullptr;
    m_sizes->setEnabled(chosen && !chosen->sizes.empty());
    if (!m_sizes->isEnabled())
        return;
    for (const FrameSize size : chosen->sizes) {
        CameraChoice choice = m_choice;
        choice.size = size;
        addChoice(*m_sizes, SizeText(size), size == m_choice.size, choice);
    }
}

void CameraMenu::Choose(const CameraChoice& choice)
{
    m_choice = choice;
    m_opener.SetCameraChoice(m_choice);
    if (!CameraSettings::Save(m_choice))
        ShowMessageBox(kApplicationTitle,
                       "No se puede guardar la webcam elegida en " + CameraSettings::FileName() +
                           ": vale hasta que termine el programa.");
    if (m_chosen)
        m_chosen();
}
