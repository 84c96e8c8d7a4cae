-- The report claim on SQL Server (2016 or later), for a property database whose graphic reports
-- live in dbo.graphicReports (grID, statusID). The same contract as the PostgreSQL procedure in
-- sql/propdb/04_reports.sql: the claimed row stays update-locked until the worker's transaction
-- ends, other workers read past it, and a dead worker's connection releases it.
-- Not run against a SQL Server here: only the PostgreSQL form is tested.
CREATE PROCEDURE [dbo].[__gr_claimGraphicReport]
    @statusID tinyint,
    @graphicReportID int,
    @exceptIDs varchar(4000),
    @claimedID int OUTPUT
AS
BEGIN
    SET NOCOUNT ON;
    DECLARE @wanted int = ISNULL(@graphicReportID, 0);
    SET @claimedID = NULL;
    SELECT TOP (1) @claimedID = r.grID
      FROM dbo.graphicReports AS r WITH (UPDLOCK, READPAST, ROWLOCK)
     WHERE (@statusID = 0 OR r.statusID = @statusID)
       AND (@wanted = 0 OR r.grID = @wanted)
       AND NOT EXISTS (SELECT 1 FROM STRING_SPLIT(ISNULL(@exceptIDs, ''), ',') AS s
                        WHERE TRY_CAST(s.value AS int) = r.grID)
     ORDER BY r.grID;
END
