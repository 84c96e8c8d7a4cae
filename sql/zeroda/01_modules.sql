-- The document-monitor database: the modules that registered and whether they run.

CREATE TABLE modules (
    module_name        varchar(12) PRIMARY KEY,
    module_description varchar(255),
    module_version     varchar(20),
    module_date        timestamp,
    running            boolean NOT NULL DEFAULT false,
    last_seen          timestamp
);

CREATE PROCEDURE "__mod_setModDetails"("@moduleName" varchar, "@moduleDescription" varchar,
                                       "@moduleVersion" char, "@moduleDate" timestamp)
LANGUAGE plpgsql AS $$
BEGIN
    INSERT INTO modules (module_name, module_description, module_version, module_date)
    VALUES ("@moduleName", "@moduleDescription", "@moduleVersion", "@moduleDate")
    ON CONFLICT (module_name) DO UPDATE SET module_description = EXCLUDED.module_description,
        module_version = EXCLUDED.module_version, module_date = EXCLUDED.module_date;
END $$;

CREATE PROCEDURE "__mod_setModRunning"("@MODNAME" varchar)
LANGUAGE plpgsql AS $$
BEGIN
    UPDATE modules SET running = true, last_seen = localtimestamp(0) WHERE module_name = "@MODNAME";
    IF NOT FOUND THEN
        RAISE EXCEPTION 'module % has not registered', "@MODNAME" USING ERRCODE = 'P0002';
    END IF;
END $$;
