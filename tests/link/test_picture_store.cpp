// Where pictures are kept: the latest under one name, every one under its own.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "link/PictureStore.h"

using namespace rtu;
namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(PictureStore, LatestIsReplacedAndEveryPictureKept)
{
    const fs::path dir = fs::temp_directory_path() / ("rtu_pictures_" + std::to_string(::getpid())) / "new";
    fs::remove_all(dir.parent_path());
    const std::time_t when = 1700000000;
    const PictureFiles first = CPictureStore::Save(dir.string(), "one", when);
    const PictureFiles second = CPictureStore::Save(dir.string(), "two", when);  // the same second
    const PictureFiles third = CPictureStore::Save(dir.string(), "three", when + 1);
    for (const PictureFiles* f : {&first, &second, &third}) EXPECT_EQ(f->error, "");
    EXPECT_EQ(Read(dir / "1.jpg"), "three");
    EXPECT_EQ(Read(first.copy), "one");
    EXPECT_EQ(Read(second.copy), "two");
    EXPECT_EQ(Read(third.copy), "three");
    EXPECT_EQ(second.copy, first.copy.substr(0, first.copy.size() - 4) + "-2.jpg");
    fs::remove_all(dir.parent_path());
}

TEST(PictureStore, AFolderThatCannotBeMadeIsSaid)
{
    const fs::path file = fs::temp_directory_path() / ("rtu_pictures_file_" + std::to_string(::getpid()));
    std::ofstream(file) << "x";
    for (const std::string& folder : {std::string(), (file / "sub").string()}) {
        const PictureFiles f = CPictureStore::Save(folder, "jpeg", 0);
        EXPECT_TRUE(f.latest.empty()) << folder;
        EXPECT_FALSE(f.error.empty()) << folder;
    }
    fs::remove(file);
}

}  // namespace
