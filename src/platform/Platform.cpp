#include "Platform.h"

#include "ScriptedPlatform.h"

#include <QUrl>

namespace ondavia {

namespace {

Platform* g_platform = nullptr;

std::vector<MsgResult> buttonAnswers(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return {MsgResult::Ok};
    case MsgButtons::OkCancel:
        return {MsgResult::Ok, MsgResult::Cancel};
    case MsgButtons::AbortRetryIgnore:
        return {MsgResult::Abort, MsgResult::Retry, MsgResult::Ignore};
    case MsgButtons::YesNoCancel:
        return {MsgResult::Yes, MsgResult::No, MsgResult::Cancel};
    case MsgButtons::YesNo:
        return {MsgResult::Yes, MsgResult::No};
    case MsgButtons::RetryCancel:
        return {MsgResult::Retry, MsgResult::Cancel};
    }
    return {MsgResult::Ok};
}

} // namespace

MsgResult MessageRequest::defaultAnswer() const
{
    const auto answers = buttonAnswers(buttons);
    const auto index = static_cast<std::size_t>(defaultButton - 1);
    return index < answers.size() ? answers[index] : answers.front();
}

QByteArray mailtoAddress(const MailRequest& mail)
{
    QByteArray address = "mailto:" + QUrl::toPercentEncoding(mail.to, "@,");
    char separator = '?';
    for (const auto& [name, value] : {std::pair{"subject", &mail.subject}, std::pair{"body", &mail.body}}) {
        if (!value->isEmpty()) {
            address += separator + QByteArray(name) + '=' + QUrl::toPercentEncoding(*value);
            separator = '&';
        }
    }
    return address;
}

Platform& platform()
{
    static ScriptedPlatform fallback;
    return g_platform ? *g_platform : fallback;
}

void setPlatform(Platform* platform)
{
    g_platform = platform;
}

PlatformScope::PlatformScope(Platform& platform) : m_previous(g_platform)
{
    g_platform = &platform;
}

PlatformScope::~PlatformScope()
{
    g_platform = m_previous;
}

} // namespace ondavia
