-- Assets: registered per drawing and handle, exported to the take-off table, read back per room.

CREATE PROCEDURE "__to_applyAssetToIPR"(
    "@locationID" integer, "@drawingID" integer, "@handle" varchar, "@acadBlockIdentifier" varchar,
    "@acadBlockDescription" varchar, "@uniqueDescription" varchar, "@pointX" numeric, "@pointY" numeric,
    "@assetExistsInLocation" boolean, OUT "@excludedFromTakeoff" boolean)
LANGUAGE plpgsql AS $$
BEGIN
    "@excludedFromTakeoff" := EXISTS (SELECT 1 FROM asset_exclusions
                                      WHERE acad_block_identifier = "@acadBlockIdentifier");
    INSERT INTO assets (location_id, drawing_id, handle, acad_block_identifier, acad_block_description,
                        unique_description, point_x, point_y, exists_in_location, excluded_from_takeoff)
    VALUES ("@locationID", "@drawingID", "@handle", "@acadBlockIdentifier", "@acadBlockDescription",
            "@uniqueDescription", "@pointX", "@pointY", "@assetExistsInLocation", "@excludedFromTakeoff")
    ON CONFLICT (drawing_id, handle) DO UPDATE SET
        location_id = EXCLUDED.location_id, acad_block_identifier = EXCLUDED.acad_block_identifier,
        acad_block_description = EXCLUDED.acad_block_description,
        unique_description = EXCLUDED.unique_description, point_x = EXCLUDED.point_x,
        point_y = EXCLUDED.point_y, exists_in_location = EXCLUDED.exists_in_location,
        excluded_from_takeoff = EXCLUDED.excluded_from_takeoff;
END $$;

CREATE PROCEDURE "__to_applyAssetAttributeToIPR"(
    "@drawingID" integer, "@handle" varchar, "@tag" varchar, "@value" varchar, "@exists" boolean)
LANGUAGE plpgsql AS $$
BEGIN
    INSERT INTO asset_attributes VALUES ("@drawingID", "@handle", "@tag", "@value", "@exists")
    ON CONFLICT (drawing_id, handle, tag) DO UPDATE SET value = EXCLUDED.value, "exists" = EXCLUDED."exists";
END $$;

CREATE PROCEDURE "__to_tp_exportAsset"(
    "@locationID" integer, "@handle" varchar, "@acadBlockIdentifier" varchar, "@acadBlockDescription" varchar,
    "@uniqueDescription" varchar, "@pointX" numeric, "@pointY" numeric, "@assetExistsInLocation" boolean,
    "@exportParameters" varchar)
LANGUAGE plpgsql AS $$
BEGIN
    INSERT INTO tp_assets VALUES ("@locationID", "@handle", "@acadBlockIdentifier", "@acadBlockDescription",
        "@uniqueDescription", "@pointX", "@pointY", "@assetExistsInLocation", "@exportParameters")
    ON CONFLICT (location_id, handle) DO UPDATE SET
        acad_block_identifier = EXCLUDED.acad_block_identifier,
        acad_block_description = EXCLUDED.acad_block_description,
        unique_description = EXCLUDED.unique_description, point_x = EXCLUDED.point_x,
        point_y = EXCLUDED.point_y, asset_exists_in_location = EXCLUDED.asset_exists_in_location,
        export_parameters = EXCLUDED.export_parameters;
END $$;

CREATE PROCEDURE idr."getLocationAssets"("@locationID" integer, INOUT "@rows" refcursor DEFAULT NULL)
LANGUAGE plpgsql AS $$
BEGIN
    OPEN "@rows" FOR
        SELECT a.drawing_id AS "drawingID", a.handle AS "handle",
               a.acad_block_identifier AS "acadBlockIdentifier", t.description AS "atDescription",
               a.unique_description AS "aDescription", a.point_x::float8 AS "aX", a.point_y::float8 AS "aY",
               (CASE WHEN a.exists_in_location THEN '1' ELSE '0' END)::varchar AS "status"
          FROM assets a LEFT JOIN asset_types t ON t.acad_block_identifier = a.acad_block_identifier
         WHERE a.location_id = "@locationID" ORDER BY a.asset_id;
END $$;

CREATE PROCEDURE idr."getAssetAttributes"("@drawingID" integer, "@handle" varchar,
                                          INOUT "@rows" refcursor DEFAULT NULL)
LANGUAGE plpgsql AS $$
BEGIN
    OPEN "@rows" FOR
        SELECT tag AS "aTag", value AS "aValue" FROM asset_attributes
         WHERE drawing_id = "@drawingID" AND handle = "@handle" ORDER BY tag;
END $$;
