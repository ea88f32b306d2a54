#pragma once

#include "tracking/CameraChoice.h"

#include <QObject>

#include <functional>
#include <vector>

class CameraLister;
class CaptureOpener;
class QActionGroup;
class QMenu;

// Opciones > "Elegir webcam": the cameras present (read again each time the menu opens, so a
// camera plugged in later shows), "Ninguna (solo teclas)", and under "Resolución" the picture
// sizes the chosen camera offers. A choice is remembered between runs and handed to the capture
// opener at once; BRUMARIA_CAMERA, when set, still decides which camera opens.
class CameraMenu : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kNoCameraText = "Ninguna (solo teclas)";
    static constexpr const char* kSizesText = "Resolución";

    // Starts with the remembered choice; a remembered camera whose device number changed is
    // found again by its name. The three must outlive the menu.
    CameraMenu(QMenu& menu, CameraLister& lister, CaptureOpener& opener);

    const CameraChoice& Choice() const { return m_choice; }
    // Called after each choice the player makes, once it is stored and handed over.
    void SetChosenHandler(std::function<void()> handler);

    // A size for the camera: the present one if it offers it, else 640 x 480, else the one
    // nearest to that in area.
    static FrameSize SizeFor(const VideoDevice& camera, FrameSize present);

private:
    void Rebuild();
    void Choose(const CameraChoice& choice);

    QMenu& m_menu;
    QMenu* m_sizes;
    QActionGroup* m_cameraGroup = nullptr;
    QActionGroup* m_sizeGroup = nullptr;
    CameraLister& m_lister;
    CaptureOpener& m_opener;
    CameraChoice m_choice;
    std::function<void()> m_chosen;
};
