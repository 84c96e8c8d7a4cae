// Stored-procedure parameters, call texts and bindings, without a server.
#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>

#include "core/EXKorva.h"
#include "data/BlockIPR.h"
#include "data/DataServices.h"
#include "data/ModuleDetails.h"
#include "data/OdbcFailure.h"
#include "data/ParameterKinds.h"
#include "data/Parameters.h"
#include "data/SqlDialect.h"
#include "logging/XMLUtilities.h"

namespace {
CCommandParameters commandOf(const CParameters& list) {
    CCommand command;
    list.addParametersToCommand(command);
    return command.parameters;
}
}  // namespace

TEST(Parameters, KindsCarryTheirTypeSizeAndXmlForm) {
    CParameters list;
    params::addBoolean(list, "@flag", 1);
    params::addChar(list, "@version", "64.04.03.00", 8);
    params::addDateTime(list, "@when", CDateTime(2017, 6, 15, 14, 30, 5));
    params::addDecimal(list, "@area", 12.345678);
    params::addInt(list, "@id", -42);
    params::addTinyInt(list, "@status", 7);
    params::addVarChar(list, "@name", "Office 12");
    auto flt = std::make_unique<CParameterFloat>();
    flt->setName("@ratio");
    flt->setValue(0.5);
    list.add(std::move(flt));

    const std::vector<std::pair<int, int>> typeAndSize = {{11, 1}, {129, 8}, {135, 0}, {131, 9},
                                                          {3, 4},  {16, 1},  {200, 255}, {131, 8}};
    ASSERT_EQ(list.getCount(), typeAndSize.size());
    for (std::size_t i = 0; i < list.getCount(); ++i) {
        EXPECT_EQ(list.getAt(i).getADOType(), typeAndSize[i].first) << list.getAt(i).getName();
        EXPECT_EQ(list.getAt(i).getSize(), typeAndSize[i].second) << list.getAt(i).getName();
    }

    CXMLUtilities factory;
    pugi::xml_node xml = list.serialize(factory, "urn:t");
    std::vector<std::string> types, values;
    for (pugi::xml_node p : xml.children()) {
        types.push_back(p.child("parameterType").text().get());
        values.push_back(p.child("parameterValue").text().get());
    }
    EXPECT_EQ(types, (std::vector<std::string>{"boolean", "char", "dateTime", "decimal", "int", "tinyInt", "varchar",
                                               "float"}));
    EXPECT_EQ(values, (std::vector<std::string>{"1", "64.04.03.00", "20170615" "14h3005_", "12.34568", "-42", "7",
                                                "Office 12", "0.50000"}));
    EXPECT_EQ(std::string(xml.first_child().child("parameterName").text().get()), "@flag");
    EXPECT_EQ(std::string(xml.first_child().child("parameterSize").text().get()), "1");
}

TEST(Parameters, LookupIsExactAndOutputsReadBackOnlyForOutputDirections) {
    CParameters list;
    params::addInt(list, "@locationID", 5, CParameter::kInputOutput);
    params::addInt(list, "@parentID", 9);
    params::addVarChar(list, "@echo", "sent", 255, CParameter::kOutput);
    EXPECT_EQ(list.getParameter("@locationid"), nullptr);
    ASSERT_NE(list.getParameter("@locationID"), nullptr);
    EXPECT_THROW(list.getAt(3), std::invalid_argument);

    CCommandParameters answers = commandOf(list);
    answers.at(0).value = 77;               // the server's new id
    answers.at(1).value = 1000;             // an input: never read back
    answers.at(2).value = std::monostate{}; // null: the parameter keeps what it sent
    list.getOutputParametersFromCommand(answers);
    EXPECT_EQ(static_cast<CParameterInt&>(*list.getParameter("@locationID")).getInt(), 77);
    EXPECT_EQ(static_cast<CParameterInt&>(*list.getParameter("@parentID")).getInt(), 9);
    EXPECT_EQ(static_cast<CParameterVarChar&>(*list.getParameter("@echo")).getText(), "sent");

    // A parameter the call does not hold is the driver's error, named after the kind.
    CParameters other;
    params::addInt(other, "@missing", 1, CParameter::kOutput);
    try {
        other.getOutputParametersFromCommand(answers);
        FAIL() << "no error";
    } catch (const CEXKorva& error) {
        EXPECT_EQ(error.getProcSig(), "CParameters::getOutputParametersFromCommand");
        ASSERT_NE(error.getInnerException(), nullptr);
        EXPECT_EQ(error.getInnerException()->getProcSig(), "CParameterInt::getOutputParametersFromCommand");
        EXPECT_EQ(error.getInnerException()->getClass(), "ParameterInt");
        EXPECT_NE(error.getInnerException()->getDescription().find("@missing"), std::string::npos);
    }

    std::string text;
    list.outToString(text);
    EXPECT_EQ(text, "\tParameters\n\t\tName: @locationID\t\tValue: 77\n"
                    "\tParameters\n\t\tName: @parentID\t\tValue: 9\n"
                    "\tParameters\n\t\tName: @echo\t\tValue: sent\n");
}

TEST(Parameters, LongTextIsSentWholeAndInvalidDateAsNull) {
    CParameters list;
    const std::string longText(300, 'x');
    params::addVarChar(list, "@name", longText, 12);
    params::addDateTime(list, "@moduleDate", CModuleDetails::parseBuildDate("Jnu 15 2017"));
    const CCommandParameters sent = commandOf(list);
    EXPECT_EQ(std::get<std::string>(sent.at(0).value), longText);
    EXPECT_EQ(sent.at(1).type, CParameter::kDBTimeStamp);
    EXPECT_TRUE(isNullValue(sent.at(1).value));
    const CDateTime built = CModuleDetails().getModuleDate();
    EXPECT_TRUE(built.isValid());
    EXPECT_EQ(built.year() * 10000 + built.month() * 100 + built.day(), 20170615);
}

TEST(SqlDialect, CallTextsPerServer) {
    CParameters list;
    params::addInt(list, "@locationID", 0, CParameter::kInputOutput);
    params::addVarChar(list, "@handle", "2F");
    const CCommandParameters two = commandOf(list);

    const CSqlDialect pg(CSqlDialect::Kind::PostgreSQL);
    EXPECT_EQ(pg.callText("__to_setRoomBlockInIPR", two), "CALL \"__to_setRoomBlockInIPR\"(?,?)");
    EXPECT_EQ(pg.callText("[idr]..[getLocationAssets]", two), "CALL \"idr\".\"getLocationAssets\"(?,?)");
    EXPECT_EQ(pg.callText("__to_x", CCommandParameters{}), "CALL \"__to_x\"()");

    const CSqlDialect ms(CSqlDialect::Kind::SQLServer);
    EXPECT_EQ(ms.callText("[idr]..[getLocationAssets]", two), "{call [idr]..[getLocationAssets](?,?)}");

    // A return value takes the first marker on SQL Server, wherever it stands in the list.
    CParameters withReturn;
    params::addVarChar(withReturn, "@name", "a");
    params::addInt(withReturn, "@RETURN_VALUE", 0, CParameter::kReturnValue);
    const CCommandParameters returning = commandOf(withReturn);
    EXPECT_EQ(ms.callText("__mod_x", returning), "{? = call __mod_x(?)}");
    EXPECT_EQ(ms.bindingOrder(returning), (std::vector<std::size_t>{1, 0}));
    EXPECT_THROW(pg.callText("__mod_x", returning), COdbcFailure);

    EXPECT_EQ(CSqlDialect::fromConnectionText("Driver={PostgreSQL Unicode};Server=h"), CSqlDialect::Kind::PostgreSQL);
    EXPECT_EQ(CSqlDialect::fromConnectionText("Driver={FreeTDS};Server=h"), CSqlDialect::Kind::SQLServer);
    EXPECT_EQ(CSqlDialect::fromDbmsName("Microsoft SQL Server"), CSqlDialect::Kind::SQLServer);
}

TEST(SqlDialect, BindingsFollowTheParameterKinds) {
    CParameters list;
    params::addBoolean(list, "@b", 1, CParameter::kOutput);
    params::addDecimal(list, "@d", 1.5);
    params::addTinyInt(list, "@t", 3, CParameter::kInputOutput);
    params::addDateTime(list, "@w", CDateTime(2024, 2, 29, 23, 59, 58));
    params::addChar(list, "@c", "AB", 8);
    const CCommandParameters sent = commandOf(list);
    for (auto kind : {CSqlDialect::Kind::PostgreSQL, CSqlDialect::Kind::SQLServer}) {
        const CSqlDialect dialect(kind);
        auto b = dialect.binding(sent.at(0));
        EXPECT_EQ(b.ioType, SQL_PARAM_OUTPUT);
        EXPECT_EQ(b.sqlType, SQL_BIT);
        auto d = dialect.binding(sent.at(1));
        EXPECT_EQ(d.cType, SQL_C_CHAR);  // decimals travel as text, not through a double
        EXPECT_EQ(d.sqlType, SQL_DECIMAL);
        EXPECT_EQ(d.columnSize, 18u);
        EXPECT_EQ(d.decimalDigits, 10);
        auto t = dialect.binding(sent.at(2));
        EXPECT_EQ(t.ioType, SQL_PARAM_INPUT_OUTPUT);
        EXPECT_EQ(t.sqlType, SQL_TINYINT);
        auto w = dialect.binding(sent.at(3));
        EXPECT_EQ(w.sqlType, SQL_TYPE_TIMESTAMP);
        EXPECT_EQ(w.columnSize, 23u);
        EXPECT_EQ(dialect.binding(sent.at(4)).columnSize, 8u);
    }
}

TEST(DataServices, ConnectionStringKeepsValuesAsGiven) {
    EXPECT_EQ(CDataServices::buildConnectionString("Driver={PostgreSQL Unicode};Server=db;Port=5433", "propdb",
                                                   "u;x", "p;w"),
              "Driver={PostgreSQL Unicode};Server=db;Port=5433;Database=propdb;UID=u;x;PWD=p;w;FetchRefcursors=1;");
    EXPECT_EQ(CDataServices::buildConnectionString("sqlhost\\PROP", "zerOda", "sa", "pw"),
              "Driver={FreeTDS};Server=sqlhost\\PROP;TDS_Version=7.4;ClientCharset=UTF-8;Database=zerOda;UID=sa;PWD=pw;");
}

TEST(BlockIPR, StatusText) {
    struct Case {
        const char* status;
        int exists, duplicate;
    };
    for (const Case& c : {Case{"01", 1, 1}, Case{"1", 0, 0}, Case{"", 0, 0}, Case{"00", 1, 0}, Case{"11", 0, 1}}) {
        CBlockIPRRoom room;
        room.setStatusFromText(c.status);
        EXPECT_EQ(room.getStatusExists(), c.exists) << c.status;
        EXPECT_EQ(room.getStatusDuplicate(), c.duplicate) << c.status;
    }
}
