-- Graphic reports: what a report does to its drawing (categories of space blocks and assets with
-- their hatches, layers left on, link lines), how it is plotted, and where it stands (its status).
-- Also the layers and layouts a take-off records for a drawing.
--
-- Report statuses: 1 waiting, 2 preparation started, 3 plotted, 4 drawing file not found,
-- 10 output folder missing, 11 output file name invalid, 12 copy of the drawing not saved,
-- 13 report XML not written; any other value is the plot's own status.

CREATE TABLE graphic_reports (
    gr_id               serial PRIMARY KEY,
    title               varchar(255),
    drawing_path        varchar(1024),
    drawing_filename    varchar(255),
    plot_layout         varchar(255),
    -- the database's plot codes; the program converts them to its own on reading
    plot_type_id        smallint,
    plot_area_type_id   smallint,
    plot_media_size_id  smallint,
    plot_scale_type_id  smallint,
    plot_centred        boolean,
    output_path         varchar(1024),
    output_filename     varchar(255),
    save_copy_to        varchar(1024),
    xml_output_to       varchar(1024),
    total_child_areas   numeric(28, 10),
    status_id           smallint NOT NULL DEFAULT 1
);
CREATE INDEX graphic_reports_status ON graphic_reports (status_id, gr_id);

-- Every status a report was given, with the server process of the worker that gave it: a report
-- prepared once has one 2 and one final status here.
CREATE TABLE graphic_report_statuses (
    gr_id      integer NOT NULL REFERENCES graphic_reports (gr_id) ON DELETE CASCADE,
    status_id  integer NOT NULL,
    set_at     timestamp NOT NULL DEFAULT clock_timestamp(),
    worker     integer NOT NULL DEFAULT pg_backend_pid()
);
CREATE INDEX graphic_report_statuses_report ON graphic_report_statuses (gr_id);

CREATE TABLE report_categories (
    c_id          serial PRIMARY KEY,
    gr_id         integer NOT NULL REFERENCES graphic_reports (gr_id) ON DELETE CASCADE,
    seq           integer NOT NULL DEFAULT 0,
    title         varchar(255),
    hatch_pattern varchar(255),
    hatch_angle   smallint,
    hatch_colour  varchar(7),
    hatch_scale   smallint,
    hatch_layer   varchar(255)
);

-- The space blocks of a category, by handle, with the texts their attributes are to show.
CREATE TABLE category_blocks (
    c_id       integer NOT NULL REFERENCES report_categories (c_id) ON DELETE CASCADE,
    handle     varchar(255) NOT NULL,
    name       varchar(255),
    code       varchar(255),
    area       numeric(28, 10),
    swap_name  varchar(255),
    swap_area  varchar(255),
    swap_aux   varchar(255),
    PRIMARY KEY (c_id, handle)
);

CREATE TABLE category_assets (
    c_id               integer NOT NULL REFERENCES report_categories (c_id) ON DELETE CASCADE,
    handle             varchar(255) NOT NULL,
    description        varchar(255),
    unique_description varchar(255),
    PRIMARY KEY (c_id, handle)
);

CREATE TABLE block_hyperlinks (
    c_id        integer NOT NULL,
    handle      varchar(255) NOT NULL,
    seq         integer NOT NULL,
    href        varchar(2048),
    description varchar(255),
    PRIMARY KEY (c_id, handle, seq)
);

CREATE TABLE asset_hyperlinks (LIKE block_hyperlinks INCLUDING ALL);

CREATE TABLE report_layers_on (
    gr_id       integer NOT NULL REFERENCES graphic_reports (gr_id) ON DELETE CASCADE,
    seq         integer NOT NULL,
    layer_name  varchar(255),
    description varchar(255),
    PRIMARY KEY (gr_id, seq)
);

CREATE TABLE report_link_lines (
    gr_id        integer NOT NULL REFERENCES graphic_reports (gr_id) ON DELETE CASCADE,
    seq          integer NOT NULL,
    start_handle varchar(255),
    end_handle   varchar(255),
    layer_name   varchar(255),
    label_text   varchar(255),
    PRIMARY KEY (gr_id, seq)
);

-- What a take-off found in a drawing (attach_id names the drawing's record).
CREATE TABLE drawing_layers (
    attach_id   integer NOT NULL,
    layer_name  varchar(255) NOT NULL,
    description varchar(255),
    colour      smallint,
    PRIMARY KEY (attach_id, layer_name)
);

CREATE TABLE drawing_layouts (
    attach_id   integer NOT NULL,
    seq         serial,
    layout_name varchar(255) NOT NULL,
    PRIMARY KEY (attach_id, layout_name)
);

-- ---- reading a report ----

CREATE PROCEDURE "__gr_getGraphicReports"("@statusID" smallint, INOUT "@rows" refcursor DEFAULT NULL)
LANGUAGE plpgsql AS $$
BEGIN
    OPEN "@rows" FOR
        SELECT gr_id AS "grID" FROM graphic_reports WHERE status_id = "@statusID" ORDER BY gr_id;
END $$;

CREATE PROCEDURE "__gr_getGraphicReport"("@graphicReportID" integer, INOUT "@rows" refcursor DEFAULT NULL)
LANGUAGE plpgsql AS $$
BEGIN
    OPEN "@rows" FOR
        SELECT title AS "grTitle", drawing_path AS "grDrawingPath", drawing_filename AS "grDrawingFilename",
               plot_layout AS "grPlotLayout", plot_type_id AS "grPlotTypeID", plot_area_type_id AS "grPlotAreaTypeID",
               plot_media_size_id AS "grPlotMediaSizeID", plot_scale_type_id AS "grPlotScaleTypeID",
               plot_centred AS "grPlotCentred", output_path AS "grOutputPath", output_filename AS "grOutputFilename",
               save_copy_to AS "grSaveCopyTo", xml_output_to AS "grXMLOutputTo",
               total_child_areas AS "grTotalChildAreas"
          FROM graphic_reports WHERE gr_id = "@graphicReportID";
END $$;

CREATE PROCEDURE "__gr_getReportCategories"("@graphicReportID" integer, INOUT "@rows" refcursor DEFAULT NULL)
LANGUAGE plpgsql AS $$
BEGIN
    OPEN "@rows" FOR
        SELECT c_id AS "cID", title AS "cTitle", hatch_pattern AS "cHatchPattern", hatch_angle AS "cHatchAngle",
               hatch_colour AS "cHatchColour", hatch_scale AS "cHatchScale", hatch_layer AS "cHatchLayer"
          FROM report_categories WHERE gr_id = "@graphicReportID" ORDER BY seq, c_id;
END $$;

CREATE PROCEDURE "__gr_getCategoryBlocks"("@categoryID" integer, INOUT "@rows" refcursor DEFAULT NULL)
LANGUAGE plpgsql AS $$
BEGIN
    OPEN "@rows" FOR
        SELECT handle AS "mbHandle", name AS "mbName", code AS "mbCode", area AS "mbArea",
               swap_name AS "mbSwapName", swap_area AS "mbSwapArea", swap_aux AS "mbSwapAux"
          FROM category_blocks WHERE c_id = "@categoryID" ORDER BY handle;
END $$;

CREATE PROCEDURE "__gr_getCategoryAssets"("@categoryID" integer, INOUT "@rows" refcursor DEFAULT NULL)
LANGUAGE plpgsql AS $$
BEGIN
    OPEN "@rows" FOR
        SELECT handle AS "maHandle", description AS "maDescription", unique_description AS "maUniqueDescription"
          FROM category_assets WHERE c_id = "@categoryID" ORDER BY handle;
END $$;

CREATE PROCEDURE "__gr_getBlockHyperlinks"("@categoryID" integer, "@handle" varchar,
                                           INOUT "@rows" refcursor DEFAULT NULL)
LANGUAGE plpgsql AS $$
BEGIN
    OPEN "@rows" FOR
        SELECT href AS "bhHref", description AS "bhDescription" FROM block_hyperlinks
         WHERE c_id = "@categoryID" AND handle = "@handle" ORDER BY seq;
END $$;

CREATE PROCEDURE "__gr_getAssetHyperlinks"("@categoryID" integer, "@handle" varchar,
                                           INOUT "@rows" refcursor DEFAULT NULL)
LANGUAGE plpgsql AS $$
BEGIN
    OPEN "@rows" FOR
        SELECT href AS "bhHref", description AS "bhDescription" FROM asset_hyperlinks
         WHERE c_id = "@categoryID" AND handle = "@handle" ORDER BY seq;
END $$;

CREATE PROCEDURE "__gr_getReportLayersOn"("@graphicReportID" integer, INOUT "@rows" refcursor DEFAULT NULL)
LANGUAGE plpgsql AS $$
BEGIN
    OPEN "@rows" FOR
        SELECT layer_name AS "loName", description AS "loDescription"
          FROM report_layers_on WHERE gr_id = "@graphicReportID" ORDER BY seq;
END $$;

CREATE PROCEDURE "__gr_getReportLinkLines"("@graphicReportID" integer, INOUT "@rows" refcursor DEFAULT NULL)
LANGUAGE plpgsql AS $$
BEGIN
    OPEN "@rows" FOR
        SELECT start_handle AS "llStartHandle", end_handle AS "llEndHandle", layer_name AS "llLayerName",
               label_text AS "llLabelText"
          FROM report_link_lines WHERE gr_id = "@graphicReportID" ORDER BY seq;
END $$;

-- ---- writing back ----

CREATE PROCEDURE "__gr_setGraphicReportStatus"("@graphicReportID" integer, "@statusID" integer)
LANGUAGE plpgsql AS $$
BEGIN
    UPDATE graphic_reports SET status_id = "@statusID" WHERE gr_id = "@graphicReportID";
    IF NOT FOUND THEN
        RAISE EXCEPTION 'graphic report % is not in the property database', "@graphicReportID"
            USING ERRCODE = 'P0002';
    END IF;
    INSERT INTO graphic_report_statuses (gr_id, status_id) VALUES ("@graphicReportID", "@statusID");
END $$;

CREATE PROCEDURE "__gr_setGraphicReportLayout"("@graphicReportID" integer, "@layout" varchar)
LANGUAGE plpgsql AS $$
BEGIN
    UPDATE graphic_reports SET plot_layout = "@layout" WHERE gr_id = "@graphicReportID";
END $$;

-- Claims one report for the calling worker until its transaction ends: the row stays locked, so
-- every other worker passes it by (SKIP LOCKED), and a worker whose connection dies releases it
-- with everything it wrote. With @graphicReportID 0 the first waiting report of the status that
-- is not in @exceptIDs ("4,9") is claimed, else that report if it still has the status (status 0:
-- any). The report claimed comes back in @claimedID; NULL when there was none to claim.
CREATE PROCEDURE "__gr_claimGraphicReport"("@statusID" smallint, "@graphicReportID" integer, "@exceptIDs" varchar,
                                           INOUT "@claimedID" integer)
LANGUAGE plpgsql AS $$
BEGIN
    SELECT gr_id INTO "@claimedID" FROM graphic_reports
     WHERE ("@statusID" = 0 OR status_id = "@statusID")
       AND (coalesce("@graphicReportID", 0) = 0 OR gr_id = "@graphicReportID")
       AND NOT (gr_id = ANY (string_to_array(coalesce("@exceptIDs", ''), ',')::integer[]))
     ORDER BY gr_id LIMIT 1
       FOR UPDATE SKIP LOCKED;
END $$;

-- ---- layers and layouts of a drawing ----

CREATE PROCEDURE "__to_addDrawingLayer"("@layerName" varchar, "@layerDescription" varchar,
                                        "@layerColour" smallint, "@attachID" integer)
LANGUAGE plpgsql AS $$
BEGIN
    INSERT INTO drawing_layers (attach_id, layer_name, description, colour)
    VALUES ("@attachID", "@layerName", "@layerDescription", "@layerColour")
    ON CONFLICT (attach_id, layer_name) DO UPDATE SET description = EXCLUDED.description, colour = EXCLUDED.colour;
END $$;

CREATE PROCEDURE "__to_deleteDrawingLayouts"("@attachID" integer)
LANGUAGE plpgsql AS $$
BEGIN
    DELETE FROM drawing_layouts WHERE attach_id = "@attachID";
END $$;

CREATE PROCEDURE "__to_addDrawingLayout"("@layoutName" varchar, "@attachID" integer)
LANGUAGE plpgsql AS $$
BEGIN
    INSERT INTO drawing_layouts (attach_id, layout_name) VALUES ("@attachID", "@layoutName")
    ON CONFLICT (attach_id, layout_name) DO NOTHING;
END $$;
