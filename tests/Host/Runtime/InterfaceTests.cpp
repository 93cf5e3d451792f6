#include <gtest/gtest.h>

#include "Host/Runtime/Interface.h"

namespace {

class IShape : public virtual IInterface {
public:
    virtual int Sides() const = 0;
};
class INamed : public virtual IInterface {
public:
    virtual const char* Name() const = 0;
};

int gAlive = 0;

class TSquare final : public TInterfacedObject, public IShape, public INamed {
public:
    TSquare() { ++gAlive; }
    ~TSquare() override { --gAlive; }
    int Sides() const override { return 4; }
    const char* Name() const override { return "square"; }
};

class TCircle final : public TInterfacedObject, public IShape {
public:
    int Sides() const override { return 0; }
};

TEST(InterfaceTest, OneCountAcrossInterfacesAndFreedWithLastReference)
{
    {
        Ref<IShape> shape = MakeRef<TSquare>();
        EXPECT_EQ(gAlive, 1);
        Ref<INamed> named = RefCast<INamed>(shape);
        ASSERT_TRUE(named);
        EXPECT_STREQ(named->Name(), "square");
        shape = nullptr;
        EXPECT_EQ(gAlive, 1) << "the family interface still holds the object";
    }
    EXPECT_EQ(gAlive, 0);
}

TEST(InterfaceTest, CastToFamilyNotImplementedIsNil)
{
    Ref<IShape> circle = MakeRef<TCircle>();
    EXPECT_FALSE(RefCast<INamed>(circle));
    EXPECT_FALSE(RefCast<INamed>(Ref<IShape>()));
}

TEST(InterfaceTest, AdoptAndDetachKeepTheCountBalanced)
{
    TSquare* raw = Ref<TSquare>(MakeRef<TSquare>()).Detach();  // one reference left with raw
    EXPECT_EQ(raw->RefCount(), 1);
    {
        auto adopted = Ref<TSquare>::Adopt(raw);
        EXPECT_EQ(raw->RefCount(), 1);
    }
    EXPECT_EQ(gAlive, 0);
}

}  // namespace
