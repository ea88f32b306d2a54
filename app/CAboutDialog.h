#pragma once

#include <QDialog>

// "Acerca de Brumaria": the program's icon, its name and version, and "Aceptar".
class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* parent = nullptr);
};
