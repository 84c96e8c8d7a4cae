#include "logging/LogStylesheets.h"

#include <filesystem>
#include <fstream>
#include <system_error>

// The two raw strings below must equal errorLog.xsl and debugLog.xsl; a unit test compares them.
namespace logstyles {

namespace {

constexpr std::string_view kErrorLog = R"xsl(
<?xml version="1.0" encoding="UTF-8"?>
<!-- Shows a Brinmo error log as an HTML page: newest error first, each with its chain of causes. -->
<xsl:stylesheet version="1.0"
    xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:e="urn:brinmo:errors"
    exclude-result-prefixes="e">

  <xsl:output method="html" encoding="UTF-8" indent="yes"
      doctype-system="about:legacy-compat"/>

  <xsl:template match="/">
    <html lang="en">
      <head>
        <title>Brinmo error log</title>
        <style>
          body { font-family: sans-serif; margin: 2em; color: #222; }
          h1 { font-size: 1.4em; }
          .entry { border: 1px solid #bbb; border-radius: 4px; margin: 1em 0; padding: 0.6em 1em; }
          .entry.high { border-left: 6px solid #c0392b; }
          .entry.medium { border-left: 6px solid #e67e22; }
          .entry.low { border-left: 6px solid #7f8c8d; }
          .cause { margin: 0.6em 0 0 1.5em; padding-left: 0.8em; border-left: 2px dotted #999; }
          .where { font-family: monospace; font-weight: bold; }
          .meta { color: #666; font-size: 0.9em; }
          .description { margin: 0.3em 0; white-space: pre-wrap; }
        </style>
      </head>
      <body>
        <h1>Brinmo error log</h1>
        <p class="meta">
          <xsl:value-of select="count(e:errors/e:error)"/>
          <xsl:text> error(s) recorded, newest first.</xsl:text>
        </p>
        <xsl:if test="not(e:errors)">
          <p>This file is not a Brinmo error log.</p>
        </xsl:if>
        <xsl:for-each select="e:errors/e:error">
          <xsl:sort select="position()" data-type="number" order="descending"/>
          <div class="entry {e:severity}">
            <xsl:apply-templates select="." mode="body"/>
          </div>
        </xsl:for-each>
      </body>
    </html>
  </xsl:template>

  <xsl:template match="e:error" mode="body">
    <div class="meta">
      <xsl:apply-templates select="e:date"/>
      <xsl:text> | severity </xsl:text>
      <xsl:value-of select="e:severity"/>
      <xsl:text> | </xsl:text>
      <xsl:value-of select="e:source"/>
    </div>
    <div class="where">
      <xsl:value-of select="e:class"/>
      <xsl:text> :: </xsl:text>
      <xsl:value-of select="e:procSig"/>
    </div>
    <div class="description"><xsl:value-of select="e:description"/></div>
    <xsl:for-each select="e:innerException/e:error">
      <div class="cause">
        <div class="meta">caused by</div>
        <xsl:apply-templates select="." mode="body"/>
      </div>
    </xsl:for-each>
  </xsl:template>

  <!-- year-month-day hour:minute:second; a date the program could not read shows as unknown. -->
  <xsl:template match="e:date">
    <xsl:choose>
      <xsl:when test="e:year = '-1'">unknown date</xsl:when>
      <xsl:otherwise>
        <xsl:value-of select="e:year"/>
        <xsl:text>-</xsl:text>
        <xsl:value-of select="format-number(e:month, '00')"/>
        <xsl:text>-</xsl:text>
        <xsl:value-of select="format-number(e:day, '00')"/>
        <xsl:text> </xsl:text>
        <xsl:value-of select="format-number(e:hour, '00')"/>
        <xsl:text>:</xsl:text>
        <xsl:value-of select="format-number(e:minute, '00')"/>
        <xsl:text>:</xsl:text>
        <xsl:value-of select="format-number(e:second, '00')"/>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>
</xsl:stylesheet>
)xsl";

constexpr std::string_view kDebugLog = R"xsl(
<?xml version="1.0" encoding="UTF-8"?>
<!-- Shows a Brinmo debug log as an HTML page: one row per logged call, oldest first. -->
<xsl:stylesheet version="1.0"
    xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:e="urn:brinmo:errors"
    xmlns:d="urn:brinmo:debugging"
    exclude-result-prefixes="e d">

  <xsl:output method="html" encoding="UTF-8" indent="yes"
      doctype-system="about:legacy-compat"/>

  <xsl:template match="/">
    <html lang="en">
      <head>
        <title>Brinmo debug log</title>
        <style>
          body { font-family: sans-serif; margin: 2em; color: #222; }
          h1 { font-size: 1.4em; }
          table { border-collapse: collapse; margin: 0.3em 0; }
          th, td { border: 1px solid #bbb; padding: 0.2em 0.6em; text-align: left; vertical-align: top; }
          th { background: #eee; }
          .procedure { font-family: monospace; font-weight: bold; }
          .meta { color: #666; font-size: 0.9em; }
          .other { font-family: monospace; white-space: pre-wrap; }
        </style>
      </head>
      <body>
        <h1>Brinmo debug log</h1>
        <p class="meta">
          <xsl:value-of select="count(d:debugging/e:error)"/>
          <xsl:text> call(s) recorded, oldest first.</xsl:text>
        </p>
        <xsl:if test="not(d:debugging)">
          <p>This file is not a Brinmo debug log.</p>
        </xsl:if>
        <table>
          <tr><th>Logged</th><th>Call</th><th>Details</th></tr>
          <xsl:for-each select="d:debugging/e:error">
            <tr>
              <td><xsl:apply-templates select="e:date"/></td>
              <td><xsl:value-of select="e:description"/></td>
              <td><xsl:apply-templates select="*[not(self::e:date or self::e:description)]"/></td>
            </tr>
          </xsl:for-each>
        </table>
      </body>
    </html>
  </xsl:template>

  <xsl:template match="d:storedProcedure">
    <div class="procedure"><xsl:value-of select="d:name"/></div>
    <xsl:if test="e:date">
      <div class="meta">
        <xsl:text>prepared </xsl:text>
        <xsl:apply-templates select="e:date"/>
      </div>
    </xsl:if>
    <xsl:if test="d:parameters/d:parameter">
      <table>
        <tr><th>Parameter</th><th>Type</th><th>Size</th><th>Value</th></tr>
        <xsl:for-each select="d:parameters/d:parameter">
          <tr>
            <td><xsl:value-of select="d:parameterName"/></td>
            <td><xsl:value-of select="d:parameterType"/></td>
            <td><xsl:value-of select="d:parameterSize"/></td>
            <td><xsl:value-of select="d:parameterValue"/></td>
          </tr>
        </xsl:for-each>
      </table>
    </xsl:if>
  </xsl:template>

  <!-- Any other node a caller attached: its element names and texts, indented by depth. -->
  <xsl:template match="*">
    <div class="other">
      <xsl:value-of select="local-name()"/>
      <xsl:if test="not(*)">
        <xsl:text>: </xsl:text>
        <xsl:value-of select="."/>
      </xsl:if>
      <xsl:for-each select="*">
        <div style="margin-left: 1.5em"><xsl:apply-templates select="."/></div>
      </xsl:for-each>
    </div>
  </xsl:template>

  <xsl:template match="e:date">
    <xsl:choose>
      <xsl:when test="e:year = '-1'">unknown date</xsl:when>
      <xsl:otherwise>
        <xsl:value-of select="e:year"/>
        <xsl:text>-</xsl:text>
        <xsl:value-of select="format-number(e:month, '00')"/>
        <xsl:text>-</xsl:text>
        <xsl:value-of select="format-number(e:day, '00')"/>
        <xsl:text> </xsl:text>
        <xsl:value-of select="format-number(e:hour, '00')"/>
        <xsl:text>:</xsl:text>
        <xsl:value-of select="format-number(e:minute, '00')"/>
        <xsl:text>:</xsl:text>
        <xsl:value-of select="format-number(e:second, '00')"/>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>
</xsl:stylesheet>
)xsl";

// The raw strings open with a line break after the delimiter; the files do not.
std::string_view withoutLeadingNewline(std::string_view text) {
    return text.empty() || text.front() != '\n' ? text : text.substr(1);
}

}  // namespace

std::string_view errorLogStylesheet() {
    return withoutLeadingNewline(kErrorLog);
}

std::string_view debugLogStylesheet() {
    return withoutLeadingNewline(kDebugLog);
}

bool installBeside(const std::string& logPath, const std::string& stylesheetName) {
    std::string_view text;
    if (stylesheetName == kErrorLogFileName) {
        text = errorLogStylesheet();
    } else if (stylesheetName == kDebugLogFileName) {
        text = debugLogStylesheet();
    } else {
        return false;
    }
    const std::filesystem::path target = std::filesystem::path(logPath).parent_path() / stylesheetName;
    std::error_code error;
    if (std::filesystem::exists(target, error)) return true;
    std::ofstream out(target, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(out);
}

}  // namespace logstyles
