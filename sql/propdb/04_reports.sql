-- Graphic reports: the categories of a report and the space blocks and assets each one holds,
-- with the hyperlinks a report puts on them.

CREATE TABLE graphic_reports (
    gr_id      serial PRIMARY KEY,
    title      varchar(255) NOT NULL,
    status_id  smallint NOT NULL DEFAULT 1
);

CREATE TABLE report_categories (
    c_id          serial PRIMARY KEY,
    gr_id         integer NOT NULL REFERENCES graphic_reports (gr_id),
    title         varchar(255),
    hatch_pattern varchar(255),
    hatch_angle   numeric(28, 10),
    hatch_colour  varchar(7),
    hatch_scale   numeric(28, 10),
    hatch_layer   varchar(255)
);

CREATE TABLE category_assets (
    c_id               integer NOT NULL REFERENCES report_categories (c_id),
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
