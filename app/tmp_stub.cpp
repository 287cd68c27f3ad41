namespace okapi_tmp_app { int x = 0; }
