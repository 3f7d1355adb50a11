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

struct ContextCase {
    const char* statement;   // "|" marks the caret
    const char* summary;
};

const ContextCase kContextCases[] = {
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
    for (const ContextCase& c : kContextCases) {
        std::string statement = c.statement;
        const std::size_t caret = statement.find('|');
        statement.erase(caret, 1);
        SCOPED_TRACE(c.statement);
        EXPECT_EQ(Summary(CompletionContextAt(statement, caret, CommentSyntax{})), c.summary);
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
    const struct {
        const char* text;
        bool changes;
    } cases[] = {
        {"insert into t values (1);\nDROP table t", true},
        {"Create table t(a int)", true},
        {"alter table t add b int", true},
        {"select 'drop', \"create\" from t -- alter\n/* drop */", false},
        {"select dropped, created_at from t", false},
    };
    for (const auto& c : cases) EXPECT_EQ(ChangesSchema(c.text, CommentSyntax{}), c.changes) << c.text;
}

struct OfferCase {
    const char* script;   // "|" marks the caret
    bool onRequest;
    const char* names;    // joined by " "; "-" for no offer
};

const OfferCase kOfferCases[] = {
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

TEST(CompletionListTest, OffersTablesColumnsAndKeywordsByContext) {
    auto catalog = std::make_shared<CCatalog>();
    catalog->SetTables({{"", "Employees", false}, {"", "Orders", false}, {"", "EmpView", true}});
    catalog->SetColumns("", "Employees", {"id", "Name", "dept_id"});
    catalog->SetColumns("", "Orders", {"id", "total"});
    catalog->SetLoaded();
    CCompletionList list;
    list.SetCatalog(catalog);
    for (const OfferCase& c : kOfferCases) {
        std::string script = c.script;
        const std::size_t caret = script.find('|');
        script.erase(caret, 1);
        SCOPED_TRACE(c.script);
        const auto offer = list.OfferAt(script, caret, c.onRequest);
        std::string names;
        for (const std::string& n : offer ? offer->names : std::vector<std::string>{}) names += (names.empty() ? "" : " ") + n;
        EXPECT_EQ(offer ? names : "-", c.names);
        EXPECT_FALSE(offer && offer->loading);
    }
}

TEST(CompletionListTest, ALoadingCatalogOffersWhatIsKnownAndSaysSo) {
    auto catalog = std::make_shared<CCatalog>();
    CCompletionList list;
    list.SetCatalog(catalog);
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
TEST(CompletionListTest, AHugeCatalogIsOfferedInPartsAsTheNameIsTyped) {
    auto catalog = std::make_shared<CCatalog>();
    std::vector<CatalogTable> tables;
    for (int i = 2999; i >= 0; --i) tables.push_back({"", "t" + std::to_string(10000 + i), false});
    catalog->SetTables(tables);
    catalog->SetLoaded();
    CCompletionList list;
    list.SetCatalog(catalog);
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
