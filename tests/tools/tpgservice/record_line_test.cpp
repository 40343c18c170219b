#include "profile_fields.h"
#include "record_line.h"

#include <gtest/gtest.h>

namespace tpgservice {
namespace {

// The desk's reading of a record line: split at "|", a field that begins with
// a double quote runs to the closing quote, a doubled quote standing for one.
std::vector<std::string> deskFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (true) {
        std::string field;
        if (i < line.size() && line[i] == '"') {
            ++i;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
            while (i < line.size() && line[i] != '|')
                field += line[i++];
        } else {
            while (i < line.size() && line[i] != '|')
                field += line[i++];
        }
        fields.push_back(field);
        if (i >= line.size()) break;
        ++i; // the "|"
    }
    return fields;
}

TEST(tpgserviceRecordLine, QuotesOnlyFieldsThatNeedIt) {
    EXPECT_EQ(recordField("Pizza Roma"), "Pizza Roma");
    EXPECT_EQ(recordField(" blanks kept "), " blanks kept ");
    EXPECT_EQ(recordField(""), "");
    EXPECT_EQ(recordField("a|b"), "\"a|b\"");
    EXPECT_EQ(recordField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(recordField("\""), "\"\"\"\"");
    EXPECT_EQ(recordField("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(recordField("cr\rhere"), "\"cr\rhere\"");
}

TEST(tpgserviceRecordLine, DeskReadsEveryFieldBackInPlace) {
    std::map<std::string, std::string> profile;
    for (std::string_view key : storedKeys())
        profile[std::string(key)] = "v:" + std::string(key);
    profile["name"] = "Bar \"U Mila\" | Café";
    profile["text1"] = "\"quoted start";
    profile["specialpath"] = "1,3,5..8,10";
    std::string line = recordLine("12345", profile);
    ASSERT_EQ(line.back(), '\n');
    line.pop_back();
    auto fields = deskFields(line);
    ASSERT_EQ(fields.size(), kRecordFieldCount);
    EXPECT_EQ(fields[0], "12345");
    EXPECT_EQ(fields[1], "v:date_created");
    EXPECT_EQ(fields[3], "Bar \"U Mila\" | Café");
    EXPECT_EQ(fields[4], "v:lang");
    EXPECT_EQ(fields[5], "v:ip");
    EXPECT_EQ(fields[10], "v:size1");
    EXPECT_EQ(fields[15], "v:qrcolor");
    EXPECT_EQ(fields[16], "\"quoted start");
    EXPECT_EQ(fields[21], "v:text6");
    EXPECT_EQ(fields[25], "v:text4www");
    EXPECT_EQ(fields[27], "v:text6www");
    EXPECT_EQ(fields[28], "v:textwww");
    EXPECT_EQ(fields[29], "v:email");
    EXPECT_EQ(fields[31], "");
    EXPECT_EQ(fields[32], "v:output");
    EXPECT_EQ(fields[33], "v:specialsql");
    EXPECT_EQ(fields[34], "1,3,5..8,10");
}

TEST(tpgserviceRecordLine, EmptyProfileStillHasAllFields) {
    std::string line = recordLine("77777", {});
    EXPECT_EQ(line, "77777" + std::string(kRecordFieldCount - 1, '|') + "\n");
}

} // namespace
} // namespace tpgservice
