-- Sample data for examples/floor_plan.dxf: one site, one building, the floor the drawing shows,
-- and the asset kinds standing in its rooms.

INSERT INTO locations (id, type, parentid, name, code, status) VALUES
    (1, 's', NULL, 'Riverside Campus', 'RC', '00'),
    (2, 'b', 1, 'North Building', 'RC-N', '00'),
    (3, 'f', 2, 'Level 1', 'RC-N-1', '00');
SELECT setval('locations_id_seq', 100);

INSERT INTO drawings (drawing_id, file_name, location_id) VALUES (1, 'floor_plan.dxf', 3);
SELECT setval('drawings_drawing_id_seq', 1);

INSERT INTO asset_types VALUES ('DESK', 'Office desk'), ('CHAIR', 'Office chair');

INSERT INTO graphic_reports (gr_id, title, status_id) VALUES (1, 'Desk audit', 1);
INSERT INTO report_categories (c_id, gr_id, title, hatch_pattern, hatch_angle, hatch_colour, hatch_scale, hatch_layer)
VALUES (1, 1, 'Desks to replace', 'SOLID', 0, '#FF8000', 1, 'REPORT-HATCH');
SELECT setval('graphic_reports_gr_id_seq', 1);
SELECT setval('report_categories_c_id_seq', 1);
