// orvview under an address-space limit: a picture that needs more memory than the process
// may have is the memory error in the preview pane, and the window goes on showing others.
#include <sys/resource.h>

#include <QtTest>
#include <fstream>
#include <new>

#include "picture_bytes.h"
#include "sanitized.h"
#include "view/preview.h"
#include "viewer_fixture.h"

namespace {

// The address space the process holds now, in bytes.
rlim_t AddressSpace()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmSize:")) return rlim_t{std::stoull(line.substr(7))} << 10;
    return 0;
}

// The soft limit of address space at what the process holds plus headroom, for the scope.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(rlim_t headroom)
    {
        ::getrlimit(RLIMIT_AS, &saved_);
        const rlimit limit{AddressSpace() + headroom, saved_.rlim_max};
        ::setrlimit(RLIMIT_AS, &limit);
    }
    ~AddressSpaceLimit() { ::setrlimit(RLIMIT_AS, &saved_); }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

private:
    rlimit saved_{};
};

constexpr rlim_t kHeadroom = rlim_t{256} << 20;

}  // namespace

class MemoryLimitTest : public ViewerFixture {
    Q_OBJECT

private slots:
    void init() { dir = std::make_unique<TempDir>(); }

    // 389 bytes claiming 65535 x 5000 pixels (983 MB): the memory error where the picture
    // would be; the other entry's picture shows as it should.
    void aPictureBeyondTheLimitIsTheMemoryError()
    {
        if (kSanitized) QSKIP("the sanitizer's address space cannot be limited");
        const std::string archive
            = Write("huge.dat",
                    orv::tools::BuildPack(
                        {{"block.cg", BlockPicture()}, {"huge.cg", PictureBytes::Full(65535, 5000, {}, {})}}));
        orv::view::ViewerWindow window(dialogs);
        window.resize(800, 600);
        window.show();
        QVERIFY(window.OpenInput(archive));
        // The first entry, which opening previews, painted before the limit: what the window
        // allocates once (its backing store, fonts, the preview's thread) is not what the
        // headroom is for, and Qt cannot paint at all where that fails.
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(window.preview().kind, orv::view::Preview::Kind::Picture);
        const AddressSpaceLimit limit(kHeadroom);
        Select(window, 1);
        QCOMPARE(window.preview().kind, orv::view::Preview::Kind::Error);
        QCOMPARE(window.preview().error, QString::fromUtf8(orv::FatalError::OutOfMemory().what()));
        Select(window, 0);
        QCOMPARE(window.preview().kind, orv::view::Preview::Kind::Picture);
        QCOMPARE(window.preview().picture.size(), QSize(512, 256));
    }

    // Pixels the process holds already, whose image Qt cannot allocate beside them.
    void anImageThatCannotBeAllocatedIsTheMemoryError()
    {
        if (kSanitized) QSKIP("the sanitizer's address space cannot be limited");
        const orv::RgbImage picture{20000, 5000, std::vector<std::uint8_t>(std::size_t{20000} * 5000 * 3, 7)};
        bool refused = false;
        {
            const AddressSpaceLimit limit(kHeadroom);
            try {
                orv::view::ToImage(picture);
            } catch (const std::bad_alloc&) {
                refused = true;
            }
        }
        QVERIFY(refused);
        const orv::RgbImage small{3, 2, std::vector<std::uint8_t>(18, 7)};
        QCOMPARE(orv::view::ToImage(small).pixel(2, 1), qRgb(7, 7, 7));
        QVERIFY(orv::view::ToImage(orv::RgbImage{0, 70000, {}}).isNull());
        QVERIFY(orv::view::ToImage(orv::RgbImage{70000, 0, {}}).isNull());
    }
};

QTEST_MAIN(MemoryLimitTest)
#include "memory_limit_test.moc"
