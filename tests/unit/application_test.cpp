// Forms made through the application object, as the program entry makes them.
// Its own process: the first form made here becomes the application's main form.
#include "components/application.h"
#include "components/form.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class TMadeForm;
TMadeForm* madeForm = nullptr;
bool variableWasSetAtCreate = false;

class TMadeForm : public TForm {
  public:
    explicit TMadeForm(TComponent* owner) : TForm(owner, formClass, layout) {}
    void FormCreate(TObject*) { variableWasSetAtCreate = madeForm == this; }

  private:
    static constexpr const char* layout = "object madeForm: TMadeForm\n"
                                          "  ClientWidth = 100\n"
                                          "  ClientHeight = 50\n"
                                          "  OnCreate = FormCreate\n"
                                          "end\n";
    inline static const FormClass formClass{"TMadeForm",
                                            {handler("FormCreate", &TMadeForm::FormCreate)}};
};

class TBrokenForm : public TForm {
  public:
    explicit TBrokenForm(TComponent* owner)
        : TForm(owner, formClass, "object x: TWrongClass\nend\n") {}

  private:
    inline static const FormClass formClass{"TBrokenForm", {}};
};

TEST(CreateForm, TheVariablePointsAtTheWholeFormWhenItsCreationEventFires) {
    Application->CreateForm(madeForm);
    ASSERT_NE(madeForm, nullptr);
    EXPECT_TRUE(variableWasSetAtCreate);
    EXPECT_EQ(Application->MainForm(), madeForm);
    EXPECT_EQ(madeForm->Owner(), static_cast<TComponent*>(Application));
}

TEST(CreateForm, AFormWhoseConstructorThrowsLeavesItsVariableNull) {
    auto* broken = reinterpret_cast<TBrokenForm*>(static_cast<uintptr_t>(0x1234));
    EXPECT_THROW(Application->CreateForm(broken), Exception);
    EXPECT_EQ(broken, nullptr);
}

} // namespace
