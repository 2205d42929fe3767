#pragma once

#include "link/StatusSink.h"
#include "link/UserPrompt.h"

#include <QList>
#include <QStringList>
#include <functional>

// Records what the status bar would have shown.
class RecordingStatus : public StatusSink
{
public:
    void setStatusText(const QString &text) override { statusTexts << text; }
    void setCommandText(const QString &text) override { commandTexts << text; }
    QString status() const { return statusTexts.isEmpty() ? QString() : statusTexts.last(); }
    QString command() const { return commandTexts.isEmpty() ? QString() : commandTexts.last(); }

    QStringList statusTexts;
    QStringList commandTexts;
};

// Records what would have been shown and asked; answers questions from a
// queue (Yes when the queue is empty, unless defaultAnswer says otherwise).
class RecordingPrompt : public UserPrompt
{
public:
    void message(const QString &text, Kind) override
    {
        messages << text;
        if (onMessage)
            onMessage(text);
    }
    bool ask(const QString &text, Kind) override
    {
        questions << text;
        if (!answers.isEmpty())
            return answers.takeFirst();
        return defaultAnswer;
    }
    bool askQuestion(const Question &question) override
    {
        details << question.details;
        return ask(question.text, question.kind);
    }

    QStringList messages;
    QStringList details; // of each question asked with askQuestion, in order
    QStringList questions;
    QList<bool> answers;
    bool defaultAnswer = true;
    std::function<void(const QString &)> onMessage;
};
