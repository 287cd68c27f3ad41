namespace okapi_tmp_support { int x = 0; }
