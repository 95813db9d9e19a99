#include "platform/contacts/VCardReader.h"

#include "PrintPerson.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace kelpa::platform {
namespace {

using People = std::vector<AddressBookPerson>;

std::string card(const std::string& lines) { return "BEGIN:VCARD\r\nVERSION:3.0\r\n" + lines + "END:VCARD\r\n"; }

TEST(VCardReader, ReadsNamesAndNumbersOfEachCard) {
    struct Case {
        const char* what;
        std::string text;
        People people;
    };
    for (const auto& c : {
             Case{"FN and one TEL", card("FN:Anna Berg\r\nTEL;TYPE=cell:+49 170 1234\r\n"), {{"Anna Berg", {"+49 170 1234"}}}},
             Case{"several numbers in file order",
                  card("TEL;TYPE=home:030 1\r\nFN:Ben\r\nTEL;TYPE=work:030 2\r\nTEL:030 3\r\n"),
                  {{"Ben", {"030 1", "030 2", "030 3"}}}},
             Case{"quoted TYPE list and PREF",
                  card("FN:Cid\r\nTEL;TYPE=\"voice,cell\";PREF=1:+44 7700 900123\r\n"), {{"Cid", {"+44 7700 900123"}}}},
             Case{"quoted parameter holding a colon", card("FN:Dee\r\nTEL;X-LABEL=\"a:b\";TYPE=cell:0170 5\r\n"),
                  {{"Dee", {"0170 5"}}}},
             Case{"vCard 4 tel: URI",
                  "BEGIN:VCARD\nVERSION:4.0\nFN:Eve\nTEL;VALUE=uri;TYPE=\"voice,home\":tel:+1-555-0100\nEND:VCARD\n",
                  {{"Eve", {"+1-555-0100"}}}},
             Case{"tel: URI with an extension", card("FN:Fay\r\nTEL;VALUE=uri:tel:+1-555-0101;ext=7\r\n"),
                  {{"Fay", {"+1-555-0101"}}}},
             Case{"group prefixes", card("item1.FN:Gus\r\nitem1.TEL:+1 2\r\nitem1.X-ABLabel:mobile\r\nitem2.TEL:+1 3\r\n"),
                  {{"Gus", {"+1 2", "+1 3"}}}},
             Case{"property names in any case", card("fn:Hal\r\nTel;type=CELL:0 1\r\ntEL:0 2\r\n"), {{"Hal", {"0 1", "0 2"}}}},
             Case{"N when there is no FN", card("N:Berg;Anna;Maria;Dr.;PhD\r\nTEL:1\r\n"), {{"Dr. Anna Maria Berg PhD", {"1"}}}},
             Case{"N when FN is empty", card("FN:\r\nN:Kim;Lee;;;\r\n"), {{"Lee Kim", {}}}},
             Case{"FN wins over N whatever the order", card("N:Berg;Anna;;;\r\nFN:A. Berg\r\n"), {{"A. Berg", {}}}},
             Case{"escapes in texts", card("FN:Berg\\, Anna\\; Dr.\r\n"), {{"Berg, Anna; Dr.", {}}}},
             Case{"a person without numbers is kept", card("FN:Ivo\r\n") + card("FN:Jo\r\nTEL:5\r\n"),
                  {{"Ivo", {}}, {"Jo", {"5"}}}},
             Case{"a card without any name", card("TEL:6\r\n"), {{"", {"6"}}}},
             Case{"empty numbers are skipped", card("FN:Kai\r\nTEL:\r\nTEL;TYPE=cell: \r\n"), {{"Kai", {}}}},
             Case{"unknown and malformed lines are skipped",
                  card("FN:Lu\r\nPHOTO;ENCODING=b;TYPE=JPEG:AAAA\r\nno colon here\r\nX-SOCIAL:x\r\nTEL:7\r\n"),
                  {{"Lu", {"7"}}}},
             Case{"blank lines between cards, LF endings, byte-order mark",
                  "\xEF\xBB\xBF" "BEGIN:VCARD\nFN:Mo\nEND:VCARD\n\n\nbegin:vcard\nFN:Ned\nend:VCARD",
                  {{"Mo", {}}, {"Ned", {}}}},
             Case{"an empty file is an empty book", "", {}},
         }) {
        const auto result = VCardReader::parse(c.text);
        ASSERT_TRUE(std::holds_alternative<People>(result)) << c.what << ": " << std::get<std::string>(result);
        EXPECT_EQ(std::get<People>(result), c.people) << c.what;
    }
}

TEST(VCardReader, UnfoldsContinuationLines) {
    // A continuation starts with one space or tab, which is dropped; the rest is kept.
    const std::string text =
        "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Anna Maria Katharina\r\n  von Berg\r\n"
        "TEL;TYPE=\"voi\r\n ce,cell\":+49 1\r\n\t70 1234\r\n"
        "TE\r\n L:+49 2\r\nEND:VCARD\r\n";
    const auto result = VCardReader::parse(text);
    ASSERT_TRUE(std::holds_alternative<People>(result)) << std::get<std::string>(result);
    EXPECT_EQ(std::get<People>(result), (People{{"Anna Maria Katharina von Berg", {"+49 170 1234", "+49 2"}}}));

    const auto lf = VCardReader::parse("BEGIN:VCARD\nFN:Ben\n Ott\nTEL:1\n 2\nEND:VCARD\n");
    ASSERT_TRUE(std::holds_alternative<People>(lf));
    EXPECT_EQ(std::get<People>(lf), (People{{"BenOtt", {"12"}}}));
}

TEST(VCardReader, NamesTheLineOfWhatIsWrong) {
    struct Case {
        std::string text;
        std::string error;
    };
    for (const auto& c : {
             Case{"Name,Phone\nAnna,+49 1\n", "line 1: not a vCard (expected BEGIN:VCARD)"},
             Case{"BEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\n\r\nFN:B\r\n", "line 5: not a vCard (expected BEGIN:VCARD)"},
             Case{"BEGIN:VCARD\nFN:A\nEND:VCARD\nBEGIN:VCARD\nFN:B\n", "line 4: BEGIN:VCARD without END:VCARD"},
             Case{"BEGIN:VCARD\nFN:A\nBEGIN:VCARD\nFN:B\nEND:VCARD\n", "line 1: BEGIN:VCARD without END:VCARD"},
             Case{"BEGIN:VCARD\nFN:A\n lpha\nEND:VCARD\nEND:VCARD\n", "line 5: END:VCARD without BEGIN:VCARD"},
         }) {
        const auto result = VCardReader::parse(c.text);
        ASSERT_TRUE(std::holds_alternative<std::string>(result)) << c.text;
        EXPECT_EQ(std::get<std::string>(result), c.error) << c.text;
    }
}

TEST(VCardReader, ReadsFilesAndNamesTheFileItCannotRead) {
    const auto dir = std::filesystem::temp_directory_path() / ("kelpa-vcard-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    {
        std::ofstream(dir / "book.vcf") << card("FN:Anna\r\nTEL:+49 1\r\n");
        std::ofstream(dir / "broken.vcf") << "BEGIN:VCARD\nFN:A\n";
    }
    const auto book = VCardReader::readFile(dir / "book.vcf");
    ASSERT_TRUE(std::holds_alternative<People>(book));
    EXPECT_EQ(std::get<People>(book), (People{{"Anna", {"+49 1"}}}));

    for (const auto& [file, error] : std::vector<std::pair<std::filesystem::path, std::string>>{
             {dir / "missing.vcf", "No such file or directory"},
             {dir, "it is a directory"},
             {dir / "broken.vcf", "line 1: BEGIN:VCARD without END:VCARD"},
         }) {
        const auto result = VCardReader::readFile(file);
        ASSERT_TRUE(std::holds_alternative<std::string>(result)) << file;
        EXPECT_EQ(std::get<std::string>(result), "cannot read address book " + file.string() + ": " + error);
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kelpa::platform
