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
