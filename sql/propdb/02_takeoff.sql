-- Take-off procedures: the export side writes the tp_ tables, the register side the locations.

CREATE PROCEDURE "__to_exportSpaceBlockToTP"(
    "@parentID" integer, "@name" varchar, "@code" varchar, "@area" numeric, "@areaType" varchar,
    "@costCentre" varchar, "@date" varchar, "@dateLastMove" varchar, "@deptCharge" varchar,
    "@handle" varchar, "@perimeter" numeric, "@roomHeight" numeric, "@specialReq" varchar,
    "@tagType" varchar, "@totStaff" varchar, "@totWkStns" varchar, "@volume" numeric,
    "@exportParameters" varchar)
LANGUAGE plpgsql AS $$
BEGIN
    INSERT INTO tp_spaces VALUES ("@parentID", "@name", "@code", "@area", "@areaType", "@costCentre", "@date",
        "@dateLastMove", "@deptCharge", "@handle", "@perimeter", "@roomHeight", "@specialReq", "@tagType",
        "@totStaff", "@totWkStns", "@volume", "@exportParameters")
    ON CONFLICT (parent_id, handle) DO UPDATE SET
        name = EXCLUDED.name, code = EXCLUDED.code, area = EXCLUDED.area, area_type = EXCLUDED.area_type,
        cost_centre = EXCLUDED.cost_centre, date = EXCLUDED.date, date_last_move = EXCLUDED.date_last_move,
        dept_charge = EXCLUDED.dept_charge, perimeter = EXCLUDED.perimeter, room_height = EXCLUDED.room_height,
        special_req = EXCLUDED.special_req, tag_type = EXCLUDED.tag_type, tot_staff = EXCLUDED.tot_staff,
        tot_wk_stns = EXCLUDED.tot_wk_stns, volume = EXCLUDED.volume,
        export_parameters = EXCLUDED.export_parameters;
END $$;

CREATE PROCEDURE "__to_exportGrossAreaBlocktoTP"(
    "@locationID" integer, "@area" numeric, "@areaType" varchar, "@costCentre" varchar, "@date" varchar,
    "@dateLastMove" varchar, "@deptCharge" varchar, "@handle" varchar, "@perimeter" numeric,
    "@roomHeight" numeric, "@specialReq" varchar, "@tagType" varchar, "@totStaff" varchar,
    "@totWkStns" varchar, "@volume" numeric, "@exportParameters" varchar)
LANGUAGE plpgsql AS $$
BEGIN
    INSERT INTO tp_gross_areas VALUES ("@locationID", "@area", "@areaType", "@costCentre", "@date", "@dateLastMove",
        "@deptCharge", "@handle", "@perimeter", "@roomHeight", "@specialReq", "@tagType", "@totStaff", "@totWkStns",
        "@volume", "@exportParameters")
    ON CONFLICT (location_id) DO UPDATE SET
        area = EXCLUDED.area, area_type = EXCLUDED.area_type, cost_centre = EXCLUDED.cost_centre,
        date = EXCLUDED.date, date_last_move = EXCLUDED.date_last_move, dept_charge = EXCLUDED.dept_charge,
        handle = EXCLUDED.handle, perimeter = EXCLUDED.perimeter, room_height = EXCLUDED.room_height,
        special_req = EXCLUDED.special_req, tag_type = EXCLUDED.tag_type, tot_staff = EXCLUDED.tot_staff,
        tot_wk_stns = EXCLUDED.tot_wk_stns, volume = EXCLUDED.volume,
        export_parameters = EXCLUDED.export_parameters;
END $$;

-- status text: '0' when the block exists in the drawing, '1' when not; then '1' for a duplicate.
CREATE FUNCTION location_status(exists_ boolean, duplicate_ boolean) RETURNS varchar
LANGUAGE sql IMMUTABLE AS $$
    SELECT (CASE WHEN exists_ THEN '0' ELSE '1' END) || (CASE WHEN duplicate_ THEN '1' ELSE '0' END)
$$;

-- A room or building under its parent: the given id, else the one with the same handle, else new.
CREATE FUNCTION upsert_location(kind char, location_ integer, parent_ integer, name_ varchar, code_ varchar,
    exists_ boolean, duplicate_ boolean, area_ numeric, handle_ varchar, perimeter_ numeric, precision_ integer)
RETURNS integer LANGUAGE plpgsql AS $$
DECLARE found_id integer;
BEGIN
    IF coalesce(location_, 0) <> 0 THEN
        SELECT id INTO found_id FROM locations WHERE id = location_;
    END IF;
    IF found_id IS NULL THEN
        SELECT id INTO found_id FROM locations
         WHERE parentid = parent_ AND type = kind AND handle = handle_ ORDER BY id LIMIT 1;
    END IF;
    IF found_id IS NULL THEN
        INSERT INTO locations (type, parentid) VALUES (kind, parent_) RETURNING id INTO found_id;
    END IF;
    UPDATE locations SET parentid = parent_, name = name_, code = code_,
           status = location_status(exists_, duplicate_), area = area_, handle = handle_,
           perimeter = perimeter_, "precision" = precision_
     WHERE id = found_id;
    RETURN found_id;
END $$;

CREATE PROCEDURE "__to_setRoomBlockInIPR"(
    INOUT "@locationID" integer, "@parentID" integer, "@name" varchar, "@code" varchar,
    "@statusExists" boolean, "@statusDuplicate" boolean, "@area" numeric, "@handle" varchar,
    "@perimeter" numeric, "@precision" integer)
LANGUAGE plpgsql AS $$
BEGIN
    "@locationID" := upsert_location('r', "@locationID", "@parentID", "@name", "@code", "@statusExists",
                                    "@statusDuplicate", "@area", "@handle", "@perimeter", "@precision");
END $$;

-- The caller sends the building's id as input only; the id returned here is not read back.
CREATE PROCEDURE "__to_setBuildingBlockInIPR"(
    INOUT "@locationID" integer, "@parentID" integer, "@name" varchar, "@code" varchar,
    "@statusExists" boolean, "@statusDuplicate" boolean, "@area" numeric, "@handle" varchar,
    "@perimeter" numeric, "@precision" integer)
LANGUAGE plpgsql AS $$
BEGIN
    "@locationID" := upsert_location('b', "@locationID", "@parentID", "@name", "@code", "@statusExists",
                                    "@statusDuplicate", "@area", "@handle", "@perimeter", "@precision");
END $$;

CREATE PROCEDURE "__to_setFloorBlockInIPR"(
    "@locationID" integer, "@area" numeric, "@handle" varchar, "@perimeter" numeric, "@precision" integer)
LANGUAGE plpgsql AS $$
BEGIN
    UPDATE locations SET area = "@area", handle = "@handle", perimeter = "@perimeter", "precision" = "@precision"
     WHERE id = "@locationID" AND type = 'f';
    IF NOT FOUND THEN
        RAISE EXCEPTION 'floor % is not in the property database', "@locationID" USING ERRCODE = 'P0002';
    END IF;
END $$;

CREATE PROCEDURE "__to_setSiteBlockInIPR"(
    "@locationID" integer, "@area" numeric, "@handle" varchar, "@perimeter" numeric, "@precision" integer)
LANGUAGE plpgsql AS $$
BEGIN
    UPDATE locations SET area = "@area", handle = "@handle", perimeter = "@perimeter", "precision" = "@precision"
     WHERE id = "@locationID" AND type = 's';
    IF NOT FOUND THEN
        RAISE EXCEPTION 'site % is not in the property database', "@locationID" USING ERRCODE = 'P0002';
    END IF;
END $$;

CREATE PROCEDURE "__to_getBlocksFromIPR"("@parentID" integer, INOUT "@rows" refcursor DEFAULT NULL)
LANGUAGE plpgsql AS $$
BEGIN
    OPEN "@rows" FOR
        SELECT id AS "id", type::varchar AS "type", parentid AS "parentid", name AS "name", code AS "code",
               status AS "status", area::float8 AS "area", handle AS "handle", perimeter::float8 AS "perimeter"
          FROM locations WHERE parentid = "@parentID" ORDER BY id;
END $$;

-- Where a drawing stands: its id and the floor it shows. Unknown drawings are an error.
CREATE PROCEDURE "__to_getDrawingLocation"("@fileName" varchar, INOUT "@drawingID" integer,
                                           INOUT "@locationID" integer)
LANGUAGE plpgsql AS $$
BEGIN
    SELECT drawing_id, location_id INTO "@drawingID", "@locationID" FROM drawings WHERE file_name = "@fileName";
    IF NOT FOUND THEN
        RAISE EXCEPTION 'drawing % is not registered in the property database', "@fileName"
            USING ERRCODE = 'P0002';
    END IF;
END $$;
