#pragma once

#include <functional>
#include <string>
#include <vector>

// Every message the program shows to the user (set-up failures, warnings) goes through here,
// so the same code reports to a dialog in the program, to stderr in tools, and to a list in tests.

// Caption of messages shown without a caption of their own.
inline constexpr const char* kDefaultMessageCaption = "Error";
// Caption of the application's own messages (its title).
inline constexpr const char* kApplicationTitle = "Brumaria";

struct ShownMessage {
    std::string caption;
    std::string text;
    bool operator==(const ShownMessage& other) const { return caption == other.caption && text == other.text; }
};

using MessagePresenter = std::function<void(const ShownMessage&)>;

// Shows one message and returns once the user has seen it (a modal dialog blocks until closed).
void ShowMessageBox(const std::string& caption, const std::string& text);

// Replaces the presenter; an empty presenter restores the default, which writes to stderr.
// Returns the previous presenter.
MessagePresenter SetMessagePresenter(MessagePresenter presenter);

// While alive, records every shown message in order instead of presenting it.
class MessageCapture {
public:
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    const std::vector<ShownMessage>& Messages() const { return m_messages; }
    std::vector<std::string> Texts() const;
    void Clear() { m_messages.clear(); }

private:
    std::vector<ShownMessage> m_messages;
    MessagePresenter m_previous;
};
