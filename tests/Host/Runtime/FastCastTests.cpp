#include <gtest/gtest.h>

#include <vector>

#include "Host/Runtime/FastCast.h"
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
class IColoured : public virtual IInterface {
public:
    virtual int Colour() const = 0;
};

class TSquare final : public TInterfacedObject, public IShape, public INamed {
public:
    int Sides() const override { return 4; }
    const char* Name() const override { return "square"; }
};

class TPaintedTriangle final : public TInterfacedObject, public IColoured, public INamed, public IShape {
public:
    int Sides() const override { return 3; }
    const char* Name() const override { return "triangle"; }
    int Colour() const override { return 7; }
};

class TCircle final : public TInterfacedObject, public IShape {
public:
    int Sides() const override { return 0; }
};

// Objects of several layouts, cast again and again in mixed order: every answer
// is dynamic_cast's, from the first cast of a kind (which fills the cache) on.
TEST(FastCast, AnswersAsDynamicCastForEveryLayoutAndRepeat)
{
    TSquare square;
    TPaintedTriangle triangle;
    TCircle circle;
    const std::vector<IShape*> shapes = {&square, &triangle, &circle, &triangle, &square, &circle};
    for (int round = 0; round < 3; ++round)
        for (IShape* shape : shapes) {
            EXPECT_EQ(FastCast<INamed>(shape), dynamic_cast<INamed*>(shape));
            EXPECT_EQ(FastCast<IColoured>(shape), dynamic_cast<IColoured*>(shape));
            EXPECT_EQ(FastCast<const IShape>(static_cast<const IInterface*>(shape)), shape);
        }
    EXPECT_STREQ(FastCast<INamed>(static_cast<IShape*>(&triangle))->Name(), "triangle");
    EXPECT_EQ(FastCast<IColoured>(static_cast<IShape*>(&triangle))->Colour(), 7);
    EXPECT_EQ(FastCast<IColoured>(static_cast<IShape*>(&square)), nullptr);
    EXPECT_EQ(FastCast<INamed>(static_cast<IShape*>(nullptr)), nullptr);
}

// The same object reached through two of its interfaces: the source place is
// part of what is remembered.
TEST(FastCast, TheSourceInterfaceIsPartOfTheKey)
{
    TPaintedTriangle triangle;
    IShape* asShape = &triangle;
    INamed* asNamed = &triangle;
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(FastCast<IColoured>(static_cast<IInterface*>(asShape)), static_cast<IColoured*>(&triangle));
        EXPECT_EQ(FastCast<IColoured>(static_cast<IInterface*>(asNamed)), static_cast<IColoured*>(&triangle));
        EXPECT_EQ(FastCast<IShape>(asNamed), asShape);
        EXPECT_EQ(FastCast<INamed>(asShape), asNamed);
    }
}

}  // namespace
