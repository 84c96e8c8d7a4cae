-- The property database: locations (sites, buildings, floors, rooms), the drawings that show the
-- floors, the assets found in the rooms, and the take-off tables the export side fills.
-- Procedure and column names keep their exact case, so they are created quoted.

CREATE SCHEMA IF NOT EXISTS idr;

CREATE TABLE locations (
    id          serial PRIMARY KEY,
    type        char(1) NOT NULL CHECK (type IN ('s', 'b', 'f', 'r')),
    parentid    integer REFERENCES locations (id),
    name        varchar(255),
    code        varchar(255),
    -- first character '0': the block exists in the drawing; second character '1': a duplicate
    status      varchar(10),
    area        numeric(28, 10),
    handle      varchar(255),
    perimeter   numeric(28, 10),
    "precision" integer,
    drawing_id  integer
);
CREATE INDEX locations_parent ON locations (parentid);

CREATE TABLE drawings (
    drawing_id  serial PRIMARY KEY,
    file_name   varchar(255) NOT NULL UNIQUE,
    location_id integer NOT NULL REFERENCES locations (id)
);

-- The export ("TP") side: what the take-off last sent for each block.
CREATE TABLE tp_spaces (
    parent_id         integer NOT NULL,
    name              varchar(255),
    code              varchar(255),
    area              numeric(28, 10),
    area_type         varchar(255),
    cost_centre       varchar(255),
    date              varchar(255),
    date_last_move    varchar(255),
    dept_charge       varchar(255),
    handle            varchar(255) NOT NULL,
    perimeter         numeric(28, 10),
    room_height       numeric(28, 10),
    special_req       varchar(255),
    tag_type          varchar(255),
    tot_staff         varchar(255),
    tot_wk_stns       varchar(255),
    volume            numeric(28, 10),
    export_parameters varchar(255),
    PRIMARY KEY (parent_id, handle)
);

CREATE TABLE tp_gross_areas (
    location_id       integer PRIMARY KEY,
    area              numeric(28, 10),
    area_type         varchar(255),
    cost_centre       varchar(255),
    date              varchar(255),
    date_last_move    varchar(255),
    dept_charge       varchar(255),
    handle            varchar(255),
    perimeter         numeric(28, 10),
    room_height       numeric(28, 10),
    special_req       varchar(255),
    tag_type          varchar(255),
    tot_staff         varchar(255),
    tot_wk_stns       varchar(255),
    volume            numeric(28, 10),
    export_parameters varchar(255)
);

CREATE TABLE tp_assets (
    location_id              integer NOT NULL,
    handle                   varchar(255) NOT NULL,
    acad_block_identifier    varchar(100),
    acad_block_description   varchar(255),
    unique_description       varchar(255),
    point_x                  numeric(28, 10),
    point_y                  numeric(28, 10),
    asset_exists_in_location boolean,
    export_parameters        varchar(255),
    PRIMARY KEY (location_id, handle)
);

-- The register ("IPR") side of assets.
CREATE TABLE asset_types (
    acad_block_identifier varchar(100) PRIMARY KEY,
    description           varchar(255)
);

-- Blocks that are furniture of the building rather than assets: registered, attributes kept out.
CREATE TABLE asset_exclusions (
    acad_block_identifier varchar(100) PRIMARY KEY
);

CREATE TABLE assets (
    asset_id               serial PRIMARY KEY,
    location_id            integer NOT NULL,
    drawing_id             integer NOT NULL,
    handle                 varchar(255) NOT NULL,
    acad_block_identifier  varchar(100),
    acad_block_description varchar(255),
    unique_description     varchar(255),
    point_x                numeric(28, 10),
    point_y                numeric(28, 10),
    exists_in_location     boolean,
    excluded_from_takeoff  boolean NOT NULL DEFAULT false,
    UNIQUE (drawing_id, handle)
);

CREATE TABLE asset_attributes (
    drawing_id integer NOT NULL,
    handle     varchar(255) NOT NULL,
    tag        varchar(255) NOT NULL,
    value      varchar(255),
    "exists"   boolean,
    PRIMARY KEY (drawing_id, handle, tag)
);
