#pragma once
#include "component.h"

#include <string>
#include <vector>

class TMenuItem : public TComponent {
  public:
    using TComponent::TComponent;
    std::string Caption;
    TNotifyEvent OnClick;

    int id() const { return id_; }
    void setId(int id) { id_ = id; }
    void Click() {
        if (OnClick)
            OnClick(this);
    }

    void setProperty(const PropertyReader& property) override;
    const char* className() const override { return "TMenuItem"; }

  private:
    int id_ = 0;
};

// A menu bar of top-level commands. The window it is attached to destroys the
// menu handle along with itself.
class TMainMenu : public TComponent {
  public:
    using TComponent::TComponent;
    const std::vector<TMenuItem*>& Items() const { return items_; }
    bool acceptChild(TComponent& child) override;
    HMENU createHandle() const;
    const char* className() const override { return "TMainMenu"; }

  private:
    std::vector<TMenuItem*> items_;
};
