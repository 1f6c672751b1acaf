#include "quickquestion.h"

#include "shared/uitext.h"

namespace Dayplex {

std::optional<PendingQuestion::Asked> PendingQuestion::ask(const ChangeRequest &request,
                                                          std::optional<Decision> *now)
{
    if (request.question == ChangeQuestion::Classic && !request.confirm) {
        *now = Decision{request, ChangeAnswer{true, std::nullopt}};
        return std::nullopt;
    }
    m_request = request;
    if (request.question == ChangeQuestion::SeriesScope) {
        const SeriesScopeQuestion question = seriesScopeQuestion(request.text);
        return Asked{true, question.text, question.buttons};
    }
    return Asked{false, classicChangeQuestion(request),
                 {uiText("Dayplex::cTools", "Ja"), uiText("Dayplex::cTools", "Nein")}};
}

std::optional<PendingQuestion::Decision> PendingQuestion::answer(bool agreed)
{
    if (!m_request)
        return std::nullopt;
    ChangeAnswer answer;
    answer.accepted = agreed;
    // A yes to the scope question without a scope is no answer to it: "Nur diesen Termin".
    if (m_request->question == ChangeQuestion::SeriesScope && agreed)
        answer.scope = SeriesScope::OnlyThis;
    return Decision{*std::exchange(m_request, std::nullopt), answer};
}

std::optional<PendingQuestion::Decision> PendingQuestion::answerScope(int button)
{
    if (!m_request)
        return std::nullopt;
    ChangeAnswer answer;
    answer.scope = seriesScopeOfAnswer(button);
    answer.accepted = answer.scope.has_value();
    return Decision{*std::exchange(m_request, std::nullopt), answer};
}

std::optional<PendingQuestion::Decision> PendingQuestion::refuse()
{
    if (!m_request)
        return std::nullopt;
    return Decision{*std::exchange(m_request, std::nullopt), ChangeAnswer{}};
}

} // namespace Dayplex
