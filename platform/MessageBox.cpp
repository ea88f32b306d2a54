#include "platform/MessageBox.h"

#include <cstdio>

namespace {

void PresentOnStderr(const ShownMessage& message)
{
    std::fprintf(stderr, "[%s] %s\n", message.caption.c_str(), message.text.c_str());
}

// Never destroyed: the sample files' exit handler still shows messages after statics are gone.
MessagePresenter& CurrentPresenter()
{
    static auto* presenter = new MessagePresenter(PresentOnStderr);
    return *presenter;
}

}  // namespace

void ShowMessageBox(const std::string& caption, const std::string& text)
{
    CurrentPresenter()(ShownMessage{caption, text});
}

MessagePresenter SetMessagePresenter(MessagePresenter presenter)
{
    MessagePresenter previous = CurrentPresenter();
    CurrentPresenter() = presenter ? std::move(presenter) : MessagePresenter(PresentOnStderr);
    return previous;
}

MessageCapture::MessageCapture()
    : m_previous(SetMessagePresenter([this](const ShownMessage& message) { m_messages.push_back(message); }))
{
}

MessageCapture::~MessageCapture()
{
    SetMessagePresenter(std::move(m_previous));
}

std::vector<std::string> MessageCapture::Texts() const
{
    std::vector<std::string> texts;
    for (const ShownMessage& message : m_messages)
        texts.push_back(message.text);
    return texts;
}
