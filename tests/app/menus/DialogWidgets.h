#pragma once

#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// Finding and using the controls of the program's dialogs.

template <typename Control>
Control* ChildNamed(const QWidget& parent, const char* name)
{
    Control* control = parent.findChild<Control*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

// The parent's controls of one kind, top to bottom.
template <typename Control>
std::vector<Control*> ControlsTopToBottom(const QWidget& parent)
{
    const QList<Control*> found = parent.findChildren<Control*>();
    std::vector<Control*> controls(found.begin(), found.end());
    std::stable_sort(controls.begin(), controls.end(),
                     [](const Control* a, const Control* b) { return a->geometry().y() < b->geometry().y(); });
    return controls;
}

// Replaces an edit's text as the player would: select everything, then type.
inline void Retype(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    ASSERT_EQ(edit->text(), text);
}

inline std::string Utf8(const QString& text)
{
    return text.toStdString();
}
