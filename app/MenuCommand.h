#pragma once

// Command identifiers of the main frame's menu and accelerators (kept as data on the actions).
enum MenuCommand : int {
    CommandStart = 32788,  // "Empezar"
    CommandOpen = 32783,  // "Abrir"
    CommandWebcam = 32786,  // "WebCam"
    CommandKeysOnly = 32785,  // "Solo teclas"
    CommandExit = 57665,  // "&Salir"
    CommandFrameA = 32772,  // "FrameA"
    CommandFrameB = 32773,  // "FrameB"
    CommandValues = 32774,  // "Valores"
    CommandStats = 32775,  // "Rendimiento"
    CommandCamera = 32778,  // "Cámara"
    CommandGraphs = 32800,  // "Gráficas"
    CommandParameters = 32771,  // "Parámetros"
    CommandPreciseDetection = 32780,  // "Detecta Preciso"
    CommandMovementOptions = 32781,  // "Detección movimientos"
    CommandCapturesPerSecond = 32782,  // "Número capturas seg"
    CommandChooseWebcam = 32801,  // "Elegir webcam" (a submenu)
    CommandHelpTopics = 57667,  // "&Temas de Ayuda"
    CommandAbout = 57664,  // "&Acerca de Brumaria..."
    CommandHelp = 57670,  // F1
    CommandContextHelp = 57669,  // Shift+F1
};
