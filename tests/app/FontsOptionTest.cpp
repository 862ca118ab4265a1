// --fonts DIR: the whole menu draws with the faces of DIR and never asks the system's fontconfig.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/Preview.h"
#include "gfx/FontEngine.h"
#include "tests/support/MenuFixture.h"

namespace fs = std::filesystem;

TEST(FontsOption, EveryPageDrawsFromTheFolderWithoutFontconfig) {
    gfx::TFontEngine& engine = gfx::TFontEngine::Instance();
    engine.ResetFontFolders();
    const fs::path dir = fs::temp_directory_path() / ("cdmenu-fonts-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    for (const char* family : {"Liberation Sans", "DejaVu Sans"})
        for (bool bold : {false, true}) {
            const fs::path face = engine.ResolveFile(family, bold, false);
            ASSERT_FALSE(face.empty()) << family;
            fs::copy_file(face, dir / face.filename(), fs::copy_options::overwrite_existing);
        }

    const std::string dirText = dir.string();
    const char* argv[] = {"cdmenu", "--headless", "--fonts", dirText.c_str()};
    EXPECT_EQ(ParseStartOptions(4, argv).fontsDir, dir.string());

    const int asked = engine.FontconfigQueries();
    {
        MenuFixture disc(MenuFixture::kNoStart);
        disc.Options.fontsDir = dir.string();
        ASSERT_TRUE(disc.Start());
        EXPECT_EQ(engine.ResolveFile("Arial", false, false).rfind(dir.string(), 0), 0u);
        EXPECT_EQ(RunPreview(*disc.App(), (dir / "preview").string()), 0);
        EXPECT_TRUE(fs::exists(dir / "preview" / "00 Startseite.png"));
    }
    EXPECT_EQ(engine.FontconfigQueries(), asked);
    engine.ResetFontFolders();
    fs::remove_all(dir);
}
