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
