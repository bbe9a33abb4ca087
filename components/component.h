#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TComponent;
class TForm;
struct LayoutProperty;
class PropertyReader;

class TObject {
  public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

// Colours are RGB in the low three bytes, or a system colour index with the high bit set.
using TColor = int;
constexpr TColor clBlack = 0x000000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clWindowText = static_cast<TColor>(0x80000008);
constexpr TColor clBtnFace = static_cast<TColor>(0x8000000F);
COLORREF colorToRGB(TColor color);

enum TShiftFlag { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
using TShiftState = unsigned;

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

// A named object that owns the components created with it as owner, and destroys
// them in the reverse order of their creation.
class TComponent : public TObject {
  public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    const std::string& Name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    TComponent* Owner() const { return owner_; }

    TComponent* FindComponent(const std::string& name) const;
    const std::vector<std::unique_ptr<TComponent>>& Components() const { return owned_; }
    void insertComponent(std::unique_ptr<TComponent> component);

    // Applies one stored layout property; throws Exception for a name it does not know.
    virtual void setProperty(const PropertyReader& property);
    // Called once every stored property has been applied.
    virtual void Loaded() {}
    // A stored layout nests `child` inside this component; false when it cannot hold it.
    virtual bool acceptChild(TComponent& /*child*/) { return false; }
    virtual const char* className() const = 0;

  private:
    std::string name_;
    TComponent* owner_;
    std::vector<std::unique_ptr<TComponent>> owned_;
};
