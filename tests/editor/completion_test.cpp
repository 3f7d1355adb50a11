#include "caret_text.h"
#include "editor/completion_context.h"
#include "editor/completion_list.h"
#include "editor/sql_keywords.h"
#include "editor/sql_lexer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>
#include <string>

namespace {

// The context in one line: kind, 'prefix', the qualified table or schema,
// and the tables in scope with their aliases.
std::string Summary(const CompletionContext& c) {
    static const char* const kKinds[] = {"none", "any", "tables", "columns"};
    std::string text = std::string(kKinds[static_cast<int>(c.kind)]);
    if (c.kind == CompletionContext::Kind::None) return text;
    text += " '" + c.prefix + "'";
    if (c.qualified) text += " of " + (c.qualified->schema.empty() ? "" : c.qualified->schema + ".") + c.qualified->name;
    if (!c.schema.empty()) text += " in " + c.schema;
    text += " |";
    for (const TableReference& t : c.tables)
        text += " " + (t.schema.empty() ? "" : t.schema + ".") + (t.quoted ? "\"" + t.name + "\"" : t.name) +
                (t.alias.empty() ? "" : " " + t.alias) + ",";
    return text;
}

// The statement ("|" marks the caret) and the context's summary.
const std::pair<const char*, const char*> kContextCases[] = {
    {"select * from emp|", "tables 'emp' | emp,"},
    {"select * from |", "tables '' |"},
    {"select e.| from employees e", "columns '' of employees | employees e,"},
    {"select e.na| from employees as e join orders o on o.id = e.id", "columns 'na' of employees | employees e, orders o,"},
    {"select o.| from employees e, orders o where 1=1", "columns '' of orders | employees e, orders o,"},
    {"select employees.| from employees", "columns '' of employees | employees,"},
    {"select x.| from employees e", "columns '' of x | employees e,"},
    {"select * from employees e where e.| and", "columns '' of employees | employees e,"},
    {"select * from employees, ord|", "tables 'ord' | employees, ord,"},
    {"select * from employees where a, |", "any '' | employees,"},
    {"select * from public.emp|", "tables 'emp' in public | public.emp,"},
    {"select * from public.|", "tables '' in public | public,"},
    {"select s.| from sales.\"Order Items\" s", "columns '' of sales.Order Items | sales.\"Order Items\" s,"},
    {"select * from \"Emp|", "tables 'Emp' | \"Emp\","},
    {"insert into cust|", "tables 'cust' | cust,"},
    {"update prod| set x = 1", "tables 'prod' | prod,"},
    {"select * from a left join b|", "tables 'b' | a, b,"},
    {"sel|", "any 'sel' |"},
    {"select na|me from t", "any 'na' | t,"},
    // Inside strings and comments nothing is offered.
    {"select 'from emp|' from t", "none"},
    {"select 'unterminated from emp|", "none"},
    {"select 1 -- from emp|", "none"},
    {"select 1 /* e.| */ from t", "none"},
    {"select 1 /* unterminated e.|", "none"},
    {"select 'a' |from t", "any '' | t,"},
    {"select 1 /* c */ |", "any '' |"},
    {"select 1 -- c\nfrom |", "tables '' |"},
};

TEST(CompletionContextTest, TablesAliasesAndWhereNothingIsOffered) {
    for (const auto& [marked, summary] : kContextCases) {
        const auto [statement, caret] = AtCaret(marked);
        EXPECT_EQ(Summary(CompletionContextAt(statement, caret, CommentSyntax{})), summary) << marked;
    }
}

TEST(CompletionContextTest, KeywordListIsSortedUpperCaseAndHasNoRepeats) {
    const auto keywords = SqlKeywords();
    EXPECT_TRUE(std::is_sorted(keywords.begin(), keywords.end()));
    EXPECT_EQ(std::adjacent_find(keywords.begin(), keywords.end()), keywords.end());
    for (const std::string_view k : keywords) EXPECT_TRUE(std::none_of(k.begin(), k.end(), ::islower)) << k;
    for (const char* k : {"SELECT", "FROM", "JOIN", "WHERE", "INSERT", "UPDATE", "DELETE"})
        EXPECT_TRUE(std::binary_search(keywords.begin(), keywords.end(), std::string_view(k))) << k;
}

// A run of such text makes the catalog be read again.
TEST(CompletionContextTest, SchemaChangesAreWordsOutsideStringsNamesAndComments) {
    const std::pair<const char*, bool> cases[] = {
        {"insert into t values (1);\nDROP table t", true},
        {"Create table t(a int)", true},
        {"alter table t add b int", true},
        {"select 'drop', \"create\" from t -- alter\n/* drop */", false},
        {"select dropped, created_at from t", false},
    };
    for (const auto& [text, changes] : cases) EXPECT_EQ(ChangesSchema(text, CommentSyntax{}), changes) << text;
}

// The script ("|" marks the caret), whether the list is asked for (else it
// comes by itself), and the names offered ("-": no offer).
const std::tuple<const char*, bool, const char*> kOfferCases[] = {
    {"select * from emp|", true, "Employees EmpView"},
    {"select * from emp|", false, "Employees EmpView"},   // the third letter after FROM
    {"select * from em|", false, "-"},
    {"select * from empl|", false, "-"},
    {"select * from e|", true, "Employees EmpView"},
    {"select e.| from employees e", false, "dept_id id Name"},
    {"select e.N| from employees e", true, "Name"},
    {"select 1; select o.| from Orders o", false, "id total"},
    {"select emp.| from EMPVIEW emp", false, "-"},   // its columns are not known
    {"select * from employees where na|", true, "Name"},
    {"select * from employees where i|", true, "id IN INDEX INNER INSERT INTERSECT INTO IS"},
    {"select * from employees where i|", false, "-"},
    {"select 'emp|'", true, "-"},
};

// A list on a catalog of its own, empty and still loading at first.
class CompletionListTest : public ::testing::Test {
protected:
    CompletionListTest() { list.SetCatalog(catalog); }
    std::shared_ptr<CCatalog> catalog = std::make_shared<CCatalog>();
    CCompletionList list;
};

TEST_F(CompletionListTest, OffersTablesColumnsAndKeywordsByContext) {
    catalog->SetTables({{"", "Employees", false}, {"", "Orders", false}, {"", "EmpView", true}});
    catalog->SetColumns("", "Employees", {"id", "Name", "dept_id"});
    catalog->SetColumns("", "Orders", {"id", "total"});
    catalog->SetLoaded();
    for (const auto& [marked, onRequest, expected] : kOfferCases) {
        const auto [script, caret] = AtCaret(marked);
        const auto offer = list.OfferAt(script, caret, onRequest);
        std::string names;
        for (const std::string& n : offer ? offer->names : std::vector<std::string>{}) names += " " + n;
        EXPECT_EQ(offer ? names : " -", " " + std::string(expected)) << marked;
        EXPECT_FALSE(offer && offer->loading);
    }
}

TEST_F(CompletionListTest, ALoadingCatalogOffersWhatIsKnownAndSaysSo) {
    const std::string script = "select * from emp";
    auto offer = list.OfferAt(script, script.size(), true);
    ASSERT_TRUE(offer);
    EXPECT_TRUE(offer->loading);
    EXPECT_EQ(offer->names, std::vector<std::string>{"loading..."});
    EXPECT_EQ(offer->typedLength, 3u);
    catalog->SetTables({{"", "employees", false}});
    catalog->SetLoaded();
    offer = list.OfferAt(script, script.size(), true);
    ASSERT_TRUE(offer);
    EXPECT_FALSE(offer->loading);
    EXPECT_EQ(offer->names, std::vector<std::string>{"employees"});
}

// A catalog of thousands of tables: an offer holds the first names in the
// list's order and says that there are more; a longer prefix reaches the rest.
TEST_F(CompletionListTest, AHugeCatalogIsOfferedInPartsAsTheNameIsTyped) {
    std::vector<CatalogTable> tables;
    for (int i = 2999; i >= 0; --i) tables.push_back({"", "t" + std::to_string(10000 + i), false});
    catalog->SetTables(tables);
    catalog->SetLoaded();
    for (const auto& [script, count, first, more] :
         {std::tuple{"select * from t", CompletionOffer::kMaxNames, "t10000", true},
          std::tuple{"select * from t125", std::size_t{100}, "t12500", false},
          std::tuple{"select * from t1299", std::size_t{10}, "t12990", false}}) {
        SCOPED_TRACE(script);
        const auto offer = list.OfferAt(script, std::strlen(script), true);
        ASSERT_TRUE(offer);
        EXPECT_EQ(offer->names.size(), count);
        EXPECT_EQ(offer->names.front(), first);
        EXPECT_EQ(offer->more, more);
    }
}

}  // namespace
