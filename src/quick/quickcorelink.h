#ifndef DAYPLEX_QUICKCORELINK_H
#define DAYPLEX_QUICKCORELINK_H

#include "shared/appointmentdetails.h"
#include "shared/changerequest.h"

#include <dayplex/dates.h>
#include <dayplex/presentation.h>

namespace Dayplex {

// The members both view cores spell alike, so that the Qt Quick items' base reaches either
// core through one face instead of each item forwarding to its own.
class QuickCoreLink
{
public:
    virtual ~QuickCoreLink() = default;
    virtual void setDisplayedRange(Date first, double *last, bool byDefault, bool alignOnWeekday) = 0;
    virtual void setFilledRange(Date first, Date last) = 0;
    virtual void scrollDays(int direction) = 0;
    virtual void refresh() = 0;
    virtual void clear() = 0;
    virtual void setAppointmentDetails(const QString &key, const AppointmentDetails &details) = 0;
    virtual bool commitChange(const ChangeRequest &request, const ChangeAnswer &answer) = 0;
    virtual void raiseChange(const ChangeRequest &request, const ChangeAnswer &answer) = 0;
    virtual QString options() const = 0;
    virtual void setOptions(const QString &options) = 0;
    virtual Presentation presentation() const = 0;
    // False when the presentation was in force already.
    virtual bool setPresentation(Presentation value) = 0;
    virtual void focusGained(Qt::FocusReason reason) = 0;
};

template <class Core>
class QuickCoreLinkTo final : public QuickCoreLink
{
public:
    explicit QuickCoreLinkTo(Core &core) : m_core(core) {}
    void setDisplayedRange(Date first, double *last, bool byDefault, bool alignOnWeekday) override
    {
        m_core.setDisplayedRange(first, last, byDefault, alignOnWeekday);
    }
    void setFilledRange(Date first, Date last) override { m_core.setFilledRange(first, last); }
    void scrollDays(int direction) override { m_core.scrollDays(direction); }
    void refresh() override { m_core.refresh(); }
    void clear() override { m_core.clear(); }
    void setAppointmentDetails(const QString &key, const AppointmentDetails &details) override
    {
        m_core.setAppointmentDetails(key, details);
    }
    bool commitChange(const ChangeRequest &request, const ChangeAnswer &answer) override
    {
        return m_core.commitChange(request, answer);
    }
    void raiseChange(const ChangeRequest &request, const ChangeAnswer &answer) override
    {
        m_core.raiseChange(request, answer);
    }
    QString options() const override { return m_core.settings.options.ContainerString(); }
    void setOptions(const QString &options) override { m_core.setOptions(options); }
    Presentation presentation() const override { return m_core.presentation; }
    bool setPresentation(Presentation value) override { return m_core.setPresentation(value); }
    void focusGained(Qt::FocusReason reason) override { m_core.focusGained(reason); }

private:
    Core &m_core;
};

} // namespace Dayplex

#endif
