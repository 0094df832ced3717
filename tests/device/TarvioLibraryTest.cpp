#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "device/FactoryTable.h"
#include "device/RemoteDeviceFactory.h"
#include "device/SignalSynthesiser.h"
#include "device/TarvioLibrary.h"
#include "device/VirtualRemote.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TemporaryFolder.h"

namespace kv::device {
namespace {

namespace fs = std::filesystem;

std::string UpToFirstZero(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

// The test's own libtarvio.so, a virtual remote behind the six C functions,
// with two functions more to open it in a folder and to play with it.
class TarvioLibraryTest : public testing::Test {
  protected:
    void SetUp() override {
        TarvioLibrary::Loaded loaded = TarvioLibrary::Load(KV_TEST_TARVIO_LIBRARY);
        ASSERT_TRUE(loaded.library) << loaded.error;
        library_ = std::move(loaded.library);
        // A second handle on the same library reaches its test functions.
        handle_ = ::dlopen(KV_TEST_TARVIO_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr);
        open_ = reinterpret_cast<bool (*)(const char*)>(::dlsym(handle_, "kvtest_tarvio_open"));
        command_ =
            reinterpret_cast<bool (*)(const char*)>(::dlsym(handle_, "kvtest_tarvio_command"));
        ASSERT_TRUE(open_ && command_);
        ASSERT_TRUE(open_(folder_.Path().c_str()));
    }
    void TearDown() override {
        if (open_ != nullptr) {
            open_(nullptr);  // releases the remote's lock before the folder goes
        }
        if (handle_ != nullptr) {
            ::dlclose(handle_);
        }
    }

    test::TemporaryFolder folder_{"tarvio"};
    std::unique_ptr<TarvioLibrary> library_;
    void* handle_ = nullptr;
    bool (*open_)(const char*) = nullptr;
    bool (*command_)(const char*) = nullptr;
};

TEST_F(TarvioLibraryTest, ReadsThroughTheLibrarysFunctions) {
    EXPECT_TRUE(library_->link_state());
    EXPECT_EQ(ReadBasicInfo(*library_), BasicInfoText(DefaultRemoteIdentity()));
    EXPECT_EQ(UpToFirstZero(ReadKeyCodeTable(*library_)), FactoryKeyCodeTable());
    EXPECT_EQ(library_->Origin(), KV_TEST_TARVIO_LIBRARY);
}

TEST_F(TarvioLibraryTest, WritesAndCapturesThroughTheLibrarysFunctions) {
    const std::string table =
        "0001"
        "00CF0A00040E0002"
        "11223344"
        "5566";
    ASSERT_TRUE(library_->WCodeDataKVHOTEL(table.c_str()));
    EXPECT_EQ(UpToFirstZero(ReadKeyCodeTable(*library_)), table);

    ASSERT_TRUE(command_("press nec 4 8"));
    ASSERT_TRUE(library_->SetCodeCarrierWave());
    EXPECT_EQ(UpToFirstZero(ReadCapture(*library_)),
              SynthesiseCapture({IrProtocol::Nec, 0x04, 0x08, 0, false}, kIdealReceiver));
}

TEST_F(TarvioLibraryTest, FalseResultsComeThrough) {
    ASSERT_TRUE(command_("unplug"));
    EXPECT_FALSE(library_->link_state());
    EXPECT_EQ(ReadBasicInfo(*library_), "");
    EXPECT_FALSE(library_->SetCodeCarrierWave());
    EXPECT_FALSE(library_->WCodeDataKVHOTEL("0000"));
    EXPECT_FALSE(library_->RBasicInfo(nullptr));
    ASSERT_TRUE(command_("plug"));
    EXPECT_TRUE(library_->link_state());
}

TEST(TarvioLibraryLoad, MissingFileIsExplained) {
    const TarvioLibrary::Loaded loaded = TarvioLibrary::Load("/nonexistent/libtarvio.so");
    EXPECT_FALSE(loaded.library);
    EXPECT_NE(loaded.error.find("/nonexistent/libtarvio.so"), std::string::npos) << loaded.error;
}

TEST(TarvioLibraryLoad, LibraryWithoutTheFunctionsIsRefusedNamingThem) {
    const TarvioLibrary::Loaded loaded = TarvioLibrary::Load("libm.so.6");
    EXPECT_FALSE(loaded.library);
    for (const char* name : {"link_state", "RBasicInfo", "RCodeTypeDataKVhotel",
                             "SetCodeCarrierWave", "RCollectCodeInfo", "WCodeDataKVHOTEL"}) {
        EXPECT_NE(loaded.error.find(name), std::string::npos) << loaded.error;
    }
}

class RemoteDeviceFactoryTest : public testing::Test {
  protected:
    RemoteDeviceSearch Search() const {
        return {programFolder_.Path(), remoteFolder_.Path(), false};
    }

    test::TemporaryFolder programFolder_{"program"};
    test::TemporaryFolder remoteFolder_{"virtual-remote"};
    test::FakeClock clock_;
};

TEST_F(RemoteDeviceFactoryTest, PrefersTheLibraryBesideTheProgram) {
    fs::copy_file(KV_TEST_TARVIO_LIBRARY, programFolder_.Path() / "libtarvio.so");
    const RemoteDeviceChoice choice = OpenRemoteDevice(Search(), clock_);
    ASSERT_TRUE(choice.device) << choice.error;
    EXPECT_EQ(choice.virtualRemote, nullptr);
    EXPECT_NE(dynamic_cast<TarvioLibrary*>(choice.device.get()), nullptr);
    EXPECT_NE(choice.description.find("libtarvio.so"), std::string::npos);
    // Nothing was opened in the virtual remote's folder.
    EXPECT_TRUE(fs::is_empty(remoteFolder_.Path()));
}

TEST_F(RemoteDeviceFactoryTest, FallsBackToTheVirtualRemote) {
    const RemoteDeviceChoice choice = OpenRemoteDevice(Search(), clock_);
    ASSERT_TRUE(choice.device) << choice.error;
    ASSERT_NE(choice.virtualRemote, nullptr);
    EXPECT_EQ(choice.virtualRemote, dynamic_cast<VirtualRemote*>(choice.device.get()));
    EXPECT_EQ(choice.virtualRemote->Folder(), remoteFolder_.Path());
}

TEST_F(RemoteDeviceFactoryTest, BrokenLibraryBesideTheProgramFallsBackToo) {
    std::ofstream(programFolder_.Path() / "libtarvio.so") << "not a library";
    const RemoteDeviceChoice choice = OpenRemoteDevice(Search(), clock_);
    ASSERT_NE(choice.virtualRemote, nullptr);
    EXPECT_NE(choice.description.find("not loaded"), std::string::npos) << choice.description;
}

TEST_F(RemoteDeviceFactoryTest, NoDeviceWhenTheVirtualRemoteIsInUse) {
    const RemoteDeviceChoice first = OpenRemoteDevice(Search(), clock_);
    ASSERT_TRUE(first.device);
    const RemoteDeviceChoice second = OpenRemoteDevice(Search(), clock_);
    EXPECT_FALSE(second.device);
    EXPECT_NE(second.error, "");
}

}  // namespace
}  // namespace kv::device
