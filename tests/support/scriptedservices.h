#pragma once

#include "shell/services/services.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// Records every message and answers prompts from a script, so tests never block on a modal box.
class ScriptedServices final : public varnek::Services {
public:
    struct Message {
        QString text;
        QString title;
        Icon icon;
    };
    struct Prompt {
        QString text;
        QString title;
    };

    QList<Message> messages;
    QList<Prompt> prompts;
    QList<std::optional<QString>> answers; // taken in order; an empty script answers Cancel
    std::function<std::optional<QString>()> answerer; // when set, answers in place of the script
    int endRequests = 0;

    void message(const QString &text, const QString &title, Icon icon) override
    {
        messages.append({text, title, icon});
    }

    std::optional<QString> prompt(const QString &text, const QString &title) override
    {
        prompts.append({text, title});
        if (answerer)
            return answerer();
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }

    void endProgram() override { ++endRequests; }

    // The first line of the only message so far, or a note saying how many there were.
    QString onlyMessageKind() const
    {
        if (messages.size() != 1)
            return QStringLiteral("<%1 messages>").arg(messages.size());
        return messages.front().text.section(QLatin1Char('\n'), 0, 0);
    }
};
