#pragma once

#include "FolianTestAccess.h"
#include "PdfTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

// A writer with an open document and page; drawn() is the content written since the last mark.
class PageFixture : public ::testing::Test {
protected:
    using A = folian::FolianTestAccess;

    void SetUp() override
    {
        dir = folian::test::scratchDir();
        pdf.BeginDoc((dir / "page.pdf").string());
        pdf.BeginPage();
        restart();
    }
    void TearDown() override { pdf.Abort(); }
    std::string drawn() const { return A::PageContent(pdf).substr(mark); }
    void restart() { mark = A::PageContent(pdf).size(); }
    // Ends the document and returns its path, for the readers.
    std::filesystem::path finish()
    {
        pdf.EndDoc();
        return dir / "page.pdf";
    }

    std::filesystem::path dir;
    folian::Folian pdf{folian::test::fixedHooks()};
    std::size_t mark = 0;
};
