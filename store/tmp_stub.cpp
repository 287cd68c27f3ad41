namespace okapi_tmp_store { int x = 0; }
