#include "system/owned.h"

#include "sim_fixture.h"

namespace {

class OwnedTest : public SimTest {
  protected:
    sys::Handle OpenSomeProcess() {
        const sys::ProcessId id = world().AddProcess(L"C:\\x.exe");
        return sys::OpenProcess(sys::kSynchronize, 0, id);
    }
};

TEST_F(OwnedTest, ReleasesOnceAtScopeExitAndNeverForNone) {
    {
        const sys::OwnedHandle none(0);
        const sys::OwnedHandle owned(OpenSomeProcess());
        EXPECT_EQ(world().processes.OpenHandles(), 1u);
    }
    EXPECT_EQ(CallsTo(L"CloseHandle").size(), 1u);
}

TEST_F(OwnedTest, MovedOwnershipIsReleasedByTheNewOwnerOnly) {
    sys::OwnedHandle first(OpenSomeProcess());
    sys::OwnedHandle second(OpenSomeProcess());
    second = std::move(first);  // releases the handle second held
    EXPECT_EQ(world().processes.OpenHandles(), 1u);
    sys::OwnedHandle third(std::move(second));
    EXPECT_FALSE(second);
    const sys::Handle handedOver = third.release();
    EXPECT_EQ(world().processes.OpenHandles(), 1u);
    sys::CloseHandle(handedOver);
    EXPECT_EQ(CallsTo(L"CloseHandle").size(), 2u);
}

}  // namespace
