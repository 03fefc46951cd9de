#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <deque>
#include <optional>

#include "session/Prompter.h"

// Answers the frame's prompts from a script. A prompt the script does not expect, or one
// that differs from it, fails the test; so does a scripted prompt left unused at the end.
class ScriptedPrompter : public Prompter {
public:
    struct Step {
        enum class Kind { Message, Question, Save, Open } kind;
        QString caption;  // messages and questions
        QString text;     // messages and questions; for dialogs the default name
        Icon icon = Icon::Information;
        bool textIsPart = false;  // the message need only contain `text`
        Answer answer = Answer::No;
        std::optional<QString> path;  // dialogs: the answer, nothing for cancel
        QString filter;               // dialogs: checked when not empty
    };

    ~ScriptedPrompter() override { expectDone(); }

    void expectMessage(const QString& caption, const QString& text, Icon icon) {
        steps_.push_back({Step::Kind::Message, caption, text, icon, false, Answer::No, {}, {}});
    }
    void expectMessageContaining(const QString& caption, const QString& part, Icon icon) {
        steps_.push_back({Step::Kind::Message, caption, part, icon, true, Answer::No, {}, {}});
    }
    void expectQuestion(const QString& caption, const QString& text, Answer answer) {
        steps_.push_back(
            {Step::Kind::Question, caption, text, Icon::Information, false, answer, {}, {}});
    }
    void expectQuestion(const QString& caption, const QString& text, bool yes) {
        expectQuestion(caption, text, yes ? Answer::Yes : Answer::No);
    }
    void expectSave(const QString& defaultName, std::optional<QString> answer,
                    const QString& filter = {}) {
        steps_.push_back({Step::Kind::Save,
                          {},
                          defaultName,
                          Icon::Information,
                          false,
                          Answer::No,
                          std::move(answer),
                          filter});
    }
    void expectOpen(const QString& defaultName, std::optional<QString> answer,
                    const QString& filter = {}) {
        steps_.push_back({Step::Kind::Open,
                          {},
                          defaultName,
                          Icon::Information,
                          false,
                          Answer::No,
                          std::move(answer),
                          filter});
    }

    void expectDone() {
        for (const Step& s : steps_)
            ADD_FAILURE() << "scripted prompt never shown: " << s.text.toStdString();
        steps_.clear();
    }
    bool done() const { return steps_.empty(); }
    int shown() const { return shown_; }

    void message(const QString& caption, const QString& text, Icon icon) override {
        Step s = next(Step::Kind::Message, text);
        EXPECT_EQ(caption.toStdString(), s.caption.toStdString());
        if (s.textIsPart) {
            EXPECT_TRUE(text.contains(s.text))
                << text.toStdString() << " lacks " << s.text.toStdString();
        } else {
            EXPECT_EQ(text.toStdString(), s.text.toStdString());
        }
        EXPECT_EQ(icon, s.icon) << text.toStdString();
    }
    Answer askYesNo(const QString& caption, const QString& text) override {
        Step s = next(Step::Kind::Question, text);
        EXPECT_EQ(caption.toStdString(), s.caption.toStdString());
        EXPECT_EQ(text.toStdString(), s.text.toStdString());
        return s.answer;
    }
    std::optional<QString> saveFile(const FileDialog& dialog) override {
        Step s = next(Step::Kind::Save, dialog.defaultName);
        checkDialog(s, dialog);
        EXPECT_TRUE(dialog.confirmOverwrite);
        return s.path;
    }
    std::optional<QString> openFile(const FileDialog& dialog) override {
        Step s = next(Step::Kind::Open, dialog.defaultName);
        checkDialog(s, dialog);
        return s.path;
    }

private:
    Step next(Step::Kind kind, const QString& what) {
        ++shown_;
        if (steps_.empty()) {
            ADD_FAILURE() << "unexpected prompt: " << what.toStdString();
            return {kind, {}, what, Icon::Information, true, Answer::No, {}, {}};
        }
        Step s = steps_.front();
        steps_.pop_front();
        EXPECT_EQ(static_cast<int>(kind), static_cast<int>(s.kind))
            << "got " << what.toStdString() << ", expected " << s.text.toStdString();
        return s;
    }
    static void checkDialog(const Step& s, const FileDialog& dialog) {
        EXPECT_EQ(dialog.defaultName.toStdString(), s.text.toStdString());
        if (!s.filter.isEmpty()) {
            EXPECT_EQ(dialog.filter.toStdString(), s.filter.toStdString());
        }
    }

    std::deque<Step> steps_;
    int shown_ = 0;
};
