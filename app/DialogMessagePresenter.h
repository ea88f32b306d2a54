#pragma once

#include "platform/MessageBox.h"

// While alive, messages are shown in modal message boxes (which, like the dialogs, hold the
// main loop until they are closed); afterwards the previous presenter is back.
class DialogMessagePresenter {
public:
    DialogMessagePresenter();
    ~DialogMessagePresenter();
    DialogMessagePresenter(const DialogMessagePresenter&) = delete;
    DialogMessagePresenter& operator=(const DialogMessagePresenter&) = delete;

private:
    MessagePresenter m_previous;
};
