#include "ScriptedPlatform.h"

namespace ondavia {

namespace {

std::optional<QString> takeAnswer(std::deque<std::optional<QString>>& queue)
{
    if (queue.empty()) {
        return std::nullopt;
    }
    const bool chosen = queue.front().has_value();
    const QString path = chosen ? *queue.front() : QString();
    queue.pop_front();
    if (!chosen) {
        return std::nullopt;
    }
    return path;
}

} // namespace

MsgResult ScriptedPlatform::messageBox(const MessageRequest& request)
{
    messages.push_back(request);
    if (onMessage) {
        if (const auto answer = onMessage(request)) {
            return *answer;
        }
    }
    if (answers.empty()) {
        return request.defaultAnswer();
    }
    const MsgResult answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedPlatform::saveFileName(const FileRequest& request)
{
    saveRequests.push_back(request);
    return takeAnswer(saveAnswers);
}

std::optional<QString> ScriptedPlatform::openFileName(const FileRequest& request)
{
    openRequests.push_back(request);
    return takeAnswer(openAnswers);
}

std::optional<QString> ScriptedPlatform::chooseFolder(const FileRequest& request)
{
    folderRequests.push_back(request);
    return takeAnswer(folderAnswers);
}

bool ScriptedPlatform::openDocument(const QString& fileOrAddress)
{
    opened.push_back(fileOrAddress);
    return openSucceeds;
}

bool ScriptedPlatform::startProgram(const QString& program, const QStringList& arguments)
{
    started.emplace_back(program, arguments);
    return starter ? starter(program, arguments) : startSucceeds;
}

bool ScriptedPlatform::composeMail(const MailRequest& mail, QString* error)
{
    mails.push_back(mail);
    if (!mailSucceeds && error) {
        *error = mailError;
    }
    return mailSucceeds;
}

DownloadOutcome ScriptedPlatform::download(const DownloadRequest& request, QString* error)
{
    downloads.push_back(request);
    if (!downloader) {
        if (error) {
            *error = QStringLiteral("nessuna connessione");
        }
        return DownloadOutcome::Failed;
    }
    return downloader(request, error);
}

QStringList ScriptedPlatform::messageTexts() const
{
    QStringList texts;
    for (const auto& message : messages) {
        texts << message.text;
    }
    return texts;
}

} // namespace ondavia
