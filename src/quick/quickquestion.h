#ifndef DAYPLEX_QUICKQUESTION_H
#define DAYPLEX_QUICKQUESTION_H

#include "shared/changerequest.h"

#include <QStringList>

#include <optional>
#include <utility>

namespace Dayplex {

// The question before a change while QML has it open: the view shows the new times until the
// answer comes, which may be long after the gesture ended.
class PendingQuestion
{
public:
    struct Asked
    {
        bool series = false; // the scope question, else the classic yes/no
        QString text;
        QStringList buttons;
    };
    using Decision = std::pair<ChangeRequest, ChangeAnswer>;

    // What to ask QML; nothing when the change stands without a question (ConfirmChanges off),
    // then `now` holds the decision.
    std::optional<Asked> ask(const ChangeRequest &request, std::optional<Decision> *now);
    bool isOpen() const { return m_request.has_value(); }
    // The decision of QML's answer; nothing when no question is open.
    std::optional<Decision> answer(bool agreed);
    std::optional<Decision> answerScope(int button);
    // A question left open is a refusal (the view takes a new one, or goes).
    std::optional<Decision> refuse();

private:
    std::optional<ChangeRequest> m_request;
};

} // namespace Dayplex

#endif
