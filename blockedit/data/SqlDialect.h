#pragma once
#include <string>
#include <vector>

#include "data/Command.h"

// How a stored procedure is called on one kind of server: the call text built from the
// procedure's name, and how each parameter is bound.
//
//   PostgreSQL: CALL "schema"."name"(?,...), one marker for every parameter, outputs included;
//               rows come through refcursor parameters the driver fetches (FetchRefcursors=1,
//               autocommit off). No return values.
//   SQL Server: {call name(?,...)} or {? = call name(?,...)}; the name goes to the server as written
//               ([idr]..[getLocationAssets]); outputs arrive after the last record set.
class CSqlDialect {
  public:
    enum class Kind { PostgreSQL, SQLServer };

    explicit CSqlDialect(Kind kind = Kind::SQLServer) : kind_(kind) {}
    Kind kind() const { return kind_; }

    // The server kind a connection text names through its driver (psqlODBC for PostgreSQL, else
    // SQL Server), and the one the driver reports once connected (SQL_DBMS_NAME).
    static Kind fromConnectionText(const std::string& text);
    static Kind fromDbmsName(const std::string& name);

    // The procedure's name as this server writes it: on PostgreSQL "[idr]..[getLocationAssets]"
    // becomes "idr"."getLocationAssets" and "__to_x" becomes "__to_x" quoted, keeping the case.
    std::string objectName(const std::string& procedure) const;
    // The call text for the parameters (a return value, when there is one, takes the first marker).
    // PostgreSQL has no return values: asking for one is an error (COdbcFailure).
    std::string callText(const std::string& procedure, const CCommandParameters& parameters) const;

    // The ODBC binding of one parameter.
    struct Binding {
        short ioType;       // SQL_PARAM_INPUT ...
        short cType;        // SQL_C_...
        short sqlType;      // SQL_...
        unsigned long columnSize;
        short decimalDigits;
    };
    Binding binding(const CCommandParameter& parameter) const;
    // The order the parameters are bound in: return values first, then the rest as given.
    std::vector<std::size_t> bindingOrder(const CCommandParameters& parameters) const;

    // Text the connection string gets for this server kind (refcursor fetching on PostgreSQL).
    std::string connectionOptions() const;

  private:
    Kind kind_;
};
