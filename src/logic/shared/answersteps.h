#ifndef DAYPLEX_ANSWERSTEPS_H
#define DAYPLEX_ANSWERSTEPS_H

namespace Dayplex {

// Carries out a gesture's answer (its steps, then its finally steps) for any front end of
// either view: run does one step; when a step throws, failed puts the view right, the final
// steps still run and the error goes on to the caller. done follows the final steps either way.
template <class Answer, class Run, class Failed, class Done>
void runAnswer(const Answer &answer, Run run, Failed failed, Done done)
{
    const auto finish = [&] {
        for (const auto &step : answer.finally)
            run(step);
        done();
    };
    try {
        for (const auto &step : answer.steps)
            run(step);
    } catch (...) {
        failed();
        finish();
        throw;
    }
    finish();
}

} // namespace Dayplex

#endif
