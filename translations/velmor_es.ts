<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES" sourcelanguage="en">
<context>
    <name>AnalysisMenu</name>
    <message>
        <source>&amp;Analysis</source>
        <translation>A&amp;nálisis</translation>
    </message>
    <message>
        <source>Run &amp;figures...</source>
        <translation>&amp;Cifras del ensayo...</translation>
    </message>
    <message>
        <source>&amp;Step test and tuning...</source>
        <translation>&amp;Prueba de escalón y sintonía...</translation>
    </message>
    <message>
        <source>&amp;Export CSV...</source>
        <translation>&amp;Exportar CSV...</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>Exportar CSV</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Ficheros CSV (*.csv)</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>No se pudo escribir %1: %2</translation>
    </message>
    <message>
        <source>&amp;Compare with saved run...</source>
        <translation>Co&amp;mparar con un ensayo guardado...</translation>
    </message>
    <message>
        <source>C&amp;lear comparison</source>
        <translation>&amp;Quitar la comparación</translation>
    </message>
    <message>
        <source>C&amp;lear comparison with %1</source>
        <translation>&amp;Quitar la comparación con %1</translation>
    </message>
    <message>
        <source>Compare with saved run</source>
        <translation>Comparar con un ensayo guardado</translation>
    </message>
    <message>
        <source>The saved run is of another exercise: only a run of the open exercise can be compared.</source>
        <translation>El ensayo guardado es de otro ejercicio: solo se puede comparar un ensayo del ejercicio abierto.</translation>
    </message>
    <message>
        <source>Tuning &amp;Map...</source>
        <translation>Mapa de s&amp;intonía...</translation>
    </message>
    <message>
        <source>La&amp;b sheet</source>
        <translation>&amp;Hoja de prácticas</translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>Data Files (*.psm)</source>
        <translation>Ficheros de datos (*.psm)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Todos los ficheros (*)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimir</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Informe</translation>
    </message>
    <message>
        <source>The whole run</source>
        <translation>Todo el ensayo</translation>
    </message>
    <message>
        <source>The view on screen</source>
        <translation>La vista en pantalla</translation>
    </message>
    <message>
        <source>Cannot read %1.</source>
        <translation>No se puede leer %1.</translation>
    </message>
    <message>
        <source>Cannot read %1: it is not a regular file.</source>
        <translation>No se puede leer %1: no es un fichero normal.</translation>
    </message>
    <message>
        <source>Cannot read %1: it is larger than a simulation file can be.</source>
        <translation>No se puede leer %1: es mayor de lo que puede ser un fichero de simulación.</translation>
    </message>
    <message>
        <source>The run was not saved in %1: %2. A file that was there is unchanged.</source>
        <translation>El ensayo no se guardó en %1: %2. El fichero que había no ha cambiado.</translation>
    </message>
    <message>
        <source>The folder cannot be written to: choose another folder.</source>
        <translation>No se puede escribir en la carpeta: elija otra carpeta.</translation>
    </message>
    <message>
        <source>The disk is full: free some space or choose another disk.</source>
        <translation>El disco está lleno: libere espacio o elija otro disco.</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>Back</source>
        <translation>Atrás</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Adelante</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Contenido</translation>
    </message>
    <message>
        <source>Find in page:</source>
        <translation>Buscar en la página:</translation>
    </message>
    <message>
        <source>Previous match</source>
        <translation>Coincidencia anterior</translation>
    </message>
    <message>
        <source>Next match</source>
        <translation>Coincidencia siguiente</translation>
    </message>
</context>
<context>
    <name>LabSheet</name>
    <message>
        <source>Set by the lab sheet</source>
        <translation>Fijado por la hoja de prácticas</translation>
    </message>
    <message>
        <source>IAE</source>
        <translation>IAE</translation>
    </message>
    <message>
        <source>ISE</source>
        <translation>ISE</translation>
    </message>
    <message>
        <source>ITAE</source>
        <translation>ITAE</translation>
    </message>
    <message>
        <source>Output variation (%)</source>
        <translation>Variación de la salida (%)</translation>
    </message>
    <message>
        <source>Rise time (s)</source>
        <translation>Tiempo de subida (s)</translation>
    </message>
    <message>
        <source>Peak</source>
        <translation>Pico</translation>
    </message>
    <message>
        <source>Peak time (s)</source>
        <translation>Tiempo de pico (s)</translation>
    </message>
    <message>
        <source>Overshoot (%)</source>
        <translation>Sobrepaso (%)</translation>
    </message>
    <message>
        <source>Settling time (s)</source>
        <translation>Tiempo de establecimiento (s)</translation>
    </message>
    <message>
        <source>Steady-state error</source>
        <translation>Error permanente</translation>
    </message>
    <message>
        <source>Stable</source>
        <translation>Estable</translation>
    </message>
    <message>
        <source>start step</source>
        <translation>escalón de arranque</translation>
    </message>
    <message>
        <source>step %1</source>
        <translation>escalón %1</translation>
    </message>
    <message>
        <source>segment %1</source>
        <translation>segmento %1</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>sí</translation>
    </message>
    <message>
        <source>no</source>
        <translation>no</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>de %1 a %2</translation>
    </message>
    <message>
        <source>Lab sheet</source>
        <translation>Hoja de prácticas</translation>
    </message>
    <message>
        <source>Close Sheet</source>
        <translation>Cerrar hoja</translation>
    </message>
    <message>
        <source>Figure</source>
        <translation>Cifra</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Objetivo</translation>
    </message>
    <message>
        <source>Met</source>
        <translation>Cumple</translation>
    </message>
    <message>
        <source>none</source>
        <translation>ninguno</translation>
    </message>
    <message>
        <source>met</source>
        <translation>cumplido</translation>
    </message>
    <message>
        <source>not met</source>
        <translation>no cumplido</translation>
    </message>
    <message>
        <source>Make a run, or open a run file, to check it.</source>
        <translation>Haga un ensayo, o abra un fichero de ensayo, para comprobarlo.</translation>
    </message>
    <message>
        <source>This run meets every target.</source>
        <translation>Este ensayo cumple todos los objetivos.</translation>
    </message>
    <message>
        <source>The run is too short: it needs at least %1 records.</source>
        <translation>El ensayo es demasiado corto: necesita al menos %1 muestras.</translation>
    </message>
    <message>
        <source>Settings of the sheet were changed: %1.</source>
        <translation>Se cambiaron ajustes de la hoja: %1.</translation>
    </message>
    <message>
        <source>%1 of %2 targets met.</source>
        <translation>%1 de %2 objetivos cumplidos.</translation>
    </message>
    <message>
        <source>Open Lab Sheet</source>
        <translation>Abrir hoja de prácticas</translation>
    </message>
    <message>
        <source>Lab Sheets (*.vlab)</source>
        <translation>Hojas de prácticas (*.vlab)</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>No se puede leer %1: %2</translation>
    </message>
    <message>
        <source>%1 is not a lab sheet this program can use: %2</source>
        <translation>%1 no es una hoja de prácticas que este programa pueda usar: %2</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Ensayo</translation>
    </message>
    <message>
        <source>Instructions</source>
        <translation>Instrucciones</translation>
    </message>
    <message>
        <source>Targets</source>
        <translation>Objetivos</translation>
    </message>
</context>
<context>
    <name>LoopWindow</name>
    <message>
        <source>START</source>
        <translation>EMPEZAR</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>PARAR</translation>
    </message>
    <message>
        <source>MENU</source>
        <translation>MENU</translation>
    </message>
    <message>
        <source>Sample Time</source>
        <translation>Tiempo Muestreo</translation>
    </message>
    <message>
        <source>Controller</source>
        <translation>Controlador</translation>
    </message>
    <message>
        <source>PG</source>
        <translation>Kp</translation>
    </message>
    <message>
        <source>PB</source>
        <translation>LP</translation>
    </message>
    <message>
        <source>I</source>
        <translation>Ki</translation>
    </message>
    <message>
        <source>D</source>
        <translation>Kd</translation>
    </message>
    <message>
        <source>Sample time (s)</source>
        <translation>Tiempo de muestreo (s)</translation>
    </message>
    <message>
        <source>Run light</source>
        <translation>Indicador de marcha</translation>
    </message>
    <message>
        <source>Process running</source>
        <translation>Proceso en marcha</translation>
    </message>
    <message>
        <source>Process stopped</source>
        <translation>Proceso parado</translation>
    </message>
    <message>
        <source>Set point (L/min)</source>
        <translation>Consigna (L/min)</translation>
    </message>
    <message>
        <source>Flow (L/min)</source>
        <translation>Flujo (L/min)</translation>
    </message>
    <message>
        <source>Set point (%)</source>
        <translation>Consigna (%)</translation>
    </message>
    <message>
        <source>Level (%)</source>
        <translation>Nivel (%)</translation>
    </message>
    <message>
        <source>Pump output (%)</source>
        <translation>Salida de la bomba (%)</translation>
    </message>
    <message>
        <source>Set point (°C)</source>
        <translation>Consigna (°C)</translation>
    </message>
    <message>
        <source>Temperature (°C)</source>
        <translation>Temperatura (°C)</translation>
    </message>
</context>
<context>
    <name>MimicArt</name>
    <message>
        <source>KLN  SYSTEM MIMIC</source>
        <translation>NLK  CONTROL MANUAL</translation>
    </message>
</context>
<context>
    <name>RunHistory</name>
    <message>
        <source>Recent &amp;Runs</source>
        <translation>Ensayos &amp;recientes</translation>
    </message>
    <message>
        <source>Run &amp;History...</source>
        <translation>&amp;Historial de ensayos...</translation>
    </message>
    <message>
        <source>Run kept in history</source>
        <translation>Ensayo guardado en el historial</translation>
    </message>
    <message>
        <source>No runs kept</source>
        <translation>No hay ensayos guardados</translation>
    </message>
    <message>
        <source>A run could not be kept in the run history (%1): %2. Runs go on as before; save a run you need with File &gt; Save.</source>
        <translation>No se pudo guardar un ensayo en el historial (%1): %2. Los ensayos siguen como antes; guarde el que necesite con Fichero &gt; Guardar.</translation>
    </message>
</context>
<context>
    <name>RunHistoryWindow</name>
    <message>
        <source>Flat</source>
        <translation>Plana</translation>
    </message>
    <message>
        <source>Ramp</source>
        <translation>Rampa</translation>
    </message>
    <message>
        <source>Sine</source>
        <translation>Seno</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Escalón</translation>
    </message>
    <message>
        <source>Sawtooth</source>
        <translation>Diente de sierra</translation>
    </message>
    <message>
        <source>Flow</source>
        <translation>Flujo</translation>
    </message>
    <message>
        <source>Fluid Level</source>
        <translation>Nivel de Fluido</translation>
    </message>
    <message>
        <source>Open Loop</source>
        <translation>Circuito Abierto</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatura</translation>
    </message>
    <message>
        <source>Batch Volume</source>
        <translation>Volumen del Lote</translation>
    </message>
    <message>
        <source>%1 records</source>
        <translation>%1 registros</translation>
    </message>
    <message>
        <source>PG %1, I %2, D %3</source>
        <translation>Kp %1, Ki %2, Kd %3</translation>
    </message>
    <message>
        <source>%1 (A %2, B %3, C %4)</source>
        <translation>%1 (A %2, B %3, C %4)</translation>
    </message>
    <message>
        <source>Run History</source>
        <translation>Historial de ensayos</translation>
    </message>
    <message>
        <source>&amp;Exercise:</source>
        <translation>&amp;Ejercicio:</translation>
    </message>
    <message>
        <source>All exercises</source>
        <translation>Todos los ejercicios</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Fecha</translation>
    </message>
    <message>
        <source>Exercise</source>
        <translation>Ejercicio</translation>
    </message>
    <message>
        <source>Duration (s)</source>
        <translation>Duración (s)</translation>
    </message>
    <message>
        <source>Segments</source>
        <translation>Segmentos</translation>
    </message>
    <message>
        <source>Overshoot (%)</source>
        <translation>Sobreimpulso (%)</translation>
    </message>
    <message>
        <source>IAE</source>
        <translation>IAE</translation>
    </message>
    <message>
        <source>Reading the runs...</source>
        <translation>Leyendo los ensayos...</translation>
    </message>
    <message>
        <source>Folder: %1</source>
        <translation>Carpeta: %1</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Abrir</translation>
    </message>
    <message>
        <source>&amp;Compare</source>
        <translation>&amp;Comparar</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Borrar</translation>
    </message>
    <message>
        <source>Show &amp;Folder</source>
        <translation>&amp;Mostrar carpeta</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>%1 cannot be moved to the trash. Delete it for good?</source>
        <translation>%1 no se puede mover a la papelera. ¿Borrarlo definitivamente?</translation>
    </message>
    <message>
        <source>%1 could not be deleted.</source>
        <translation>No se pudo borrar %1.</translation>
    </message>
</context>
<context>
    <name>TfrmAbout</name>
    <message>
        <source>About</source>
        <translation>Sobre</translation>
    </message>
    <message>
        <source>VELMOR</source>
        <translation>ROMLEV</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Versión</translation>
    </message>
    <message>
        <source>Process-control training simulator</source>
        <translation>Simulador de formación en control de procesos</translation>
    </message>
    <message>
        <source>Help and getting started</source>
        <translation>Ayuda y primeros pasos</translation>
    </message>
</context>
<context>
    <name>TfrmBatch</name>
    <message>
        <source>Batch Volume Simulation</source>
        <translation>Simulación del Volumen del Lote</translation>
    </message>
    <message>
        <source>Control Mode</source>
        <translation>Modo Control</translation>
    </message>
    <message>
        <source>Set Point</source>
        <comment>volume</comment>
        <translation>SP Vol</translation>
    </message>
    <message>
        <source>Set Point</source>
        <comment>temperature</comment>
        <translation>SP Temp</translation>
    </message>
    <message>
        <source>Sump Tank</source>
        <translation>Tanque Dep.</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volumen</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatura</translation>
    </message>
    <message>
        <source>Exp. Time</source>
        <translation>Tiempo Exp.</translation>
    </message>
    <message>
        <source>Enter Value</source>
        <translation>Valor Entero</translation>
    </message>
</context>
<context>
    <name>TfrmCalculator</name>
    <message>
        <source>New value</source>
        <translation>Nuevo valor</translation>
    </message>
    <message>
        <source>New value</source>
        <comment>label</comment>
        <translation>Valor nuevo</translation>
    </message>
    <message>
        <source>Minimum value</source>
        <translation>Valor mínimo</translation>
    </message>
    <message>
        <source>Maximum value</source>
        <translation>Valor máximo</translation>
    </message>
    <message>
        <source>Old value</source>
        <translation>Valor antiguo</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Keypad --&gt;</source>
        <translation>Teclado --&gt;</translation>
    </message>
    <message>
        <source>Keypad &lt;--</source>
        <translation>Teclado &lt;--</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>&apos;%1&apos; no es un número entero válido</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid floating point value</source>
        <translation>&apos;%1&apos; no es un número decimal válido</translation>
    </message>
    <message>
        <source>Out of Range</source>
        <translation>Fuera de rango</translation>
    </message>
</context>
<context>
    <name>TfrmFlow</name>
    <message>
        <source>Flow Simulation</source>
        <translation>Simulación del Flujo</translation>
    </message>
    <message>
        <source>Control Mode</source>
        <translation>Modo Control</translation>
    </message>
    <message>
        <source>Set Point</source>
        <translation>SP</translation>
    </message>
    <message>
        <source>Process running</source>
        <translation>Proceso en marcha</translation>
    </message>
    <message>
        <source>Process stopped</source>
        <translation>Proceso parado</translation>
    </message>
</context>
<context>
    <name>TfrmGraph</name>
    <message>
        <source>Flow Trend</source>
        <translation>Tendencias del Flujo</translation>
    </message>
    <message>
        <source>Temperature Trend</source>
        <translation>Tendencias de la Temperatura</translation>
    </message>
    <message>
        <source>Batch Volume Trend</source>
        <translation>Tendencias del Volumen del Lote</translation>
    </message>
    <message>
        <source>Fluid Level Trend</source>
        <translation>Tendencias del Nivel del Fluido</translation>
    </message>
    <message>
        <source>Open Loop Trend</source>
        <translation>Tendencias del Circuito Abierto</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Nivel</translation>
    </message>
    <message>
        <source>Flow SP</source>
        <translation>SP flujo</translation>
    </message>
    <message>
        <source>Flow MV</source>
        <translation>MV flujo</translation>
    </message>
    <message>
        <source>Pump Output</source>
        <translation>Q flujo</translation>
    </message>
    <message>
        <source>Temp SP</source>
        <translation>SP temp</translation>
    </message>
    <message>
        <source>Temp MV</source>
        <translation>MV temp</translation>
    </message>
    <message>
        <source>Temp Output</source>
        <translation>Q temp</translation>
    </message>
    <message>
        <source>Vol SP</source>
        <translation>SP vol</translation>
    </message>
    <message>
        <source>Vol MV</source>
        <translation>MV vol</translation>
    </message>
    <message>
        <source>Level SP</source>
        <translation>SP nivel</translation>
    </message>
    <message>
        <source>Level MV</source>
        <translation>MV nivel</translation>
    </message>
    <message>
        <source>Flow PG:</source>
        <translation>Kp Flujo:</translation>
    </message>
    <message>
        <source>Flow PB:</source>
        <translation>LP Flujo</translation>
    </message>
    <message>
        <source>Flow I:</source>
        <translation>Ki Flujo:</translation>
    </message>
    <message>
        <source>Flow D:</source>
        <translation>Kd Flujo:</translation>
    </message>
    <message>
        <source>Temp PG:</source>
        <translation>Kp Temp:</translation>
    </message>
    <message>
        <source>Temp PB:</source>
        <translation>LP Temp:</translation>
    </message>
    <message>
        <source>Temp I:</source>
        <translation>Ki Temp:</translation>
    </message>
    <message>
        <source>Temp D:</source>
        <translation>Kd Temp:</translation>
    </message>
    <message>
        <source>Level PG:</source>
        <translation>Kp Nivel:</translation>
    </message>
    <message>
        <source>Level PB:</source>
        <translation>LP Nivel</translation>
    </message>
    <message>
        <source>Level I:</source>
        <translation>Ki Nivel:</translation>
    </message>
    <message>
        <source>Level D:</source>
        <translation>Kd Nivel:</translation>
    </message>
    <message>
        <source>Vol PG:</source>
        <translation>Kp Vol:</translation>
    </message>
    <message>
        <source>Vol PB:</source>
        <translation>LP Vol:</translation>
    </message>
    <message>
        <source>Vol I:</source>
        <translation>Ki Vol:</translation>
    </message>
    <message>
        <source>Vol D:</source>
        <translation>Kd Vol:</translation>
    </message>
    <message>
        <source>Start Time</source>
        <translation>Tiempo Inicio</translation>
    </message>
    <message>
        <source>TimeBase</source>
        <translation>Tiempo Base</translation>
    </message>
    <message>
        <source>secs</source>
        <translation>segs</translation>
    </message>
    <message>
        <source>Pump</source>
        <translation>Bomba</translation>
    </message>
    <message>
        <source>Open gate valve</source>
        <translation>Más caudal</translation>
    </message>
    <message>
        <source>Close gate valve</source>
        <translation>Menos caudal</translation>
    </message>
    <message>
        <source>Flow Set Point</source>
        <translation>SP Flujo</translation>
    </message>
    <message>
        <source>Flow Measured Value</source>
        <translation>MV Flujo</translation>
    </message>
    <message>
        <source>Pump Output</source>
        <comment>read-out</comment>
        <translation>Q Flujo</translation>
    </message>
    <message>
        <source>Temperature Set Point</source>
        <translation>SP Temp</translation>
    </message>
    <message>
        <source>Temperature Measured Value</source>
        <translation>MV Temp</translation>
    </message>
    <message>
        <source>Temperature Output</source>
        <translation>Q Temp</translation>
    </message>
    <message>
        <source>Volume Set Point</source>
        <translation>SP Vol</translation>
    </message>
    <message>
        <source>Volume Measured Value</source>
        <translation>MV Vol</translation>
    </message>
    <message>
        <source>Fluid Level Set Point</source>
        <translation>SP Nivel</translation>
    </message>
    <message>
        <source>Fluid Level Measured Value</source>
        <translation>MV Nivel</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Valor</translation>
    </message>
    <message>
        <source>Gate</source>
        <translation>Válvula</translation>
    </message>
    <message>
        <source>Valve:</source>
        <translation>abierta:</translation>
    </message>
    <message>
        <source>Trend plot</source>
        <translation>Gráfico de tendencias</translation>
    </message>
    <message>
        <source>After a run: Left and Right move the cursor line, Home and End go to the run&apos;s ends</source>
        <translation>Tras una simulación: Izquierda y Derecha mueven la línea del cursor, Inicio y Fin van a los extremos</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Tiempo</translation>
    </message>
</context>
<context>
    <name>TfrmIntro</name>
    <message>
        <source>VELMOR</source>
        <translation>ROMLEV</translation>
    </message>
    <message>
        <source>Process-control training simulator</source>
        <translation>Simulador de formación en control de procesos</translation>
    </message>
    <message>
        <source>Trends</source>
        <translation>Tendencias</translation>
    </message>
    <message>
        <source>Flow</source>
        <translation>Flujo</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatura</translation>
    </message>
    <message>
        <source>Batch volume</source>
        <translation>Volumen del lote</translation>
    </message>
    <message>
        <source>Fluid level</source>
        <translation>Nivel de fluido</translation>
    </message>
    <message>
        <source>Open loop</source>
        <translation>Circuito abierto</translation>
    </message>
    <message>
        <source>System mimic</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Click to continue</source>
        <translation>Pulse para continuar</translation>
    </message>
</context>
<context>
    <name>TfrmLevel</name>
    <message>
        <source>Fluid Level Simulation</source>
        <translation>Simulación del Nivel del Fluido</translation>
    </message>
    <message>
        <source>Control Mode</source>
        <translation>Modo Control</translation>
    </message>
    <message>
        <source>Set Point</source>
        <translation>SP</translation>
    </message>
    <message>
        <source>Initial Value</source>
        <translation>Valor inicial</translation>
    </message>
    <message>
        <source>Auto drain</source>
        <translation>Auto vac.</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Nivel</translation>
    </message>
    <message>
        <source>Drain valve</source>
        <translation>Válvula de vaciado</translation>
    </message>
    <message>
        <source>open</source>
        <translation>abierta</translation>
    </message>
    <message>
        <source>closed</source>
        <translation>cerrada</translation>
    </message>
</context>
<context>
    <name>TfrmMain</name>
    <message>
        <source>VELMOR</source>
        <translation>ROMLEV</translation>
    </message>
    <message>
        <source>KLN.hlp</source>
        <translation>NLK.hlp</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichero</translation>
    </message>
    <message>
        <source>&amp;New...</source>
        <translation>&amp;Nuevo...</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Abrir...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>&amp;Control</source>
        <translation>&amp;Control</translation>
    </message>
    <message>
        <source>&amp;System Mimic</source>
        <translation>&amp;Manual</translation>
    </message>
    <message>
        <source>&amp;Flow</source>
        <translation>&amp;Flujo</translation>
    </message>
    <message>
        <source>&amp;Temperature</source>
        <translation>&amp;Temperatura</translation>
    </message>
    <message>
        <source>&amp;Batch Volume</source>
        <translation>&amp;Volumen del Lote</translation>
    </message>
    <message>
        <source>F&amp;luid Level</source>
        <translation>&amp;Nivel de Fluido</translation>
    </message>
    <message>
        <source>&amp;Open Loop</source>
        <translation>&amp;Circuito Abierto</translation>
    </message>
    <message>
        <source>&amp;Setup</source>
        <translation>&amp;Opciones</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Barra de Herramientas</translation>
    </message>
    <message>
        <source>&amp;Easy Menu</source>
        <translation>&amp;Menú de Control</translation>
    </message>
    <message>
        <source>&amp;Preferences...</source>
        <translation>&amp;Preferencias...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Ayuda</translation>
    </message>
    <message>
        <source>Contents...</source>
        <translation>Contenidos...</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Sobre...</translation>
    </message>
    <message>
        <source>System Mimic</source>
        <translation>&amp;Manual</translation>
    </message>
    <message>
        <source>Flow</source>
        <translation>&amp;Flujo</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>&amp;Temperatura</translation>
    </message>
    <message>
        <source>Batch Volume</source>
        <translation>&amp;Volumen del Lote</translation>
    </message>
    <message>
        <source>Fluid Level</source>
        <translation>&amp;Nivel de Fluido</translation>
    </message>
    <message>
        <source>Open Loop</source>
        <translation>&amp;Circuito Abierto</translation>
    </message>
    <message>
        <source>Open Saved Trend...</source>
        <translation>Cargar Tendencia Guardada...</translation>
    </message>
    <message>
        <source>Preferences...</source>
        <translation>Preferencias...</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>¿Está seguro?</translation>
    </message>
    <message>
        <source>Close VELMOR?</source>
        <translation>¿Cerrar ROMLEV?</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Guardar...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimir...</translation>
    </message>
    <message>
        <source>Open &amp;Lab Sheet...</source>
        <translation>Abrir hoja de &amp;prácticas...</translation>
    </message>
</context>
<context>
    <name>TfrmManual</name>
    <message>
        <source>KLN Trainer</source>
        <translation>Entrenador NLK</translation>
    </message>
    <message>
        <source>MENU</source>
        <translation>MENU</translation>
    </message>
    <message>
        <source>Pump Output</source>
        <translation>Salida de la Bomba</translation>
    </message>
    <message>
        <source>TANK FULL INDICATOR</source>
        <translation>INDICADOR TANQUE  LLENO</translation>
    </message>
    <message>
        <source>PROCESS  TANK TEMPERATURE</source>
        <translation>TEMPERATURA TANQUE PROCESO</translation>
    </message>
    <message>
        <source>HEAT INPUT KILOWATTS</source>
        <translation>CALENTAMIENTO ENTRADA  (KW)</translation>
    </message>
    <message>
        <source>MANUAL HEAT INPUT</source>
        <translation>CALENTAMIENTO MANUAL</translation>
    </message>
    <message>
        <source>DRAIN VALVE OPEN</source>
        <translation>APERTURA VÁLVULA VACIADO</translation>
    </message>
    <message>
        <source>SUMP TEMPERATURE</source>
        <translation>TEMPERATURA DEPÓSITO</translation>
    </message>
    <message>
        <source>FLOW TEMPERATURE</source>
        <translation>TEMPERATURA FLUJO</translation>
    </message>
    <message>
        <source>FLOW  RATE LITRES / MIN</source>
        <translation>RANGO FLUJO     L / MIN</translation>
    </message>
    <message>
        <source>COOLER ACTIVATED</source>
        <translation>ENFRIAMIENTO ACTIVADO</translation>
    </message>
    <message>
        <source>FLOW   DIVERTED</source>
        <translation>DESVIACIÓN FLUJO</translation>
    </message>
    <message>
        <source>Click here to Open/Close the Drain Valve.</source>
        <translation>Haga clic aquí para abrir o cerrar la válvula de vaciado.</translation>
    </message>
    <message>
        <source>Click here to Open/Close the Diverter Valve.</source>
        <translation>Haga clic aquí para abrir o cerrar la válvula desviadora.</translation>
    </message>
    <message>
        <source>Click here to Start/Stop the Cooler.</source>
        <translation>Haga clic aquí para poner en marcha o parar el enfriador.</translation>
    </message>
    <message>
        <source>Click here to Start/Stop the Stirrer.</source>
        <translation>Haga clic aquí para poner en marcha o parar el agitador.</translation>
    </message>
    <message>
        <source>Click and drag the slider to adjust the Motor Output.</source>
        <translation>Haga clic y arrastre el deslizador para ajustar la salida del motor.</translation>
    </message>
    <message>
        <source>Drain valve</source>
        <translation>Válvula de vaciado</translation>
    </message>
    <message>
        <source>Diverter valve</source>
        <translation>Válvula desviadora</translation>
    </message>
    <message>
        <source>Cooler and fan</source>
        <translation>Enfriador y ventilador</translation>
    </message>
    <message>
        <source>Stirrer</source>
        <translation>Agitador</translation>
    </message>
    <message>
        <source>open</source>
        <translation>abierta</translation>
    </message>
    <message>
        <source>closed</source>
        <translation>cerrada</translation>
    </message>
    <message>
        <source>on</source>
        <translation>encendido</translation>
    </message>
    <message>
        <source>off</source>
        <translation>apagado</translation>
    </message>
    <message>
        <source>Pump speed</source>
        <translation>Velocidad de la bomba</translation>
    </message>
    <message>
        <source>Tank full lamp</source>
        <translation>Indicador de tanque lleno</translation>
    </message>
    <message>
        <source>Drain valve open lamp</source>
        <translation>Indicador de válvula de vaciado abierta</translation>
    </message>
    <message>
        <source>Flow diverted lamp</source>
        <translation>Indicador de flujo desviado</translation>
    </message>
    <message>
        <source>Cooler activated lamp</source>
        <translation>Indicador de enfriamiento activado</translation>
    </message>
    <message>
        <source>lit</source>
        <translation>encendido</translation>
    </message>
    <message>
        <source>dark</source>
        <translation>apagado</translation>
    </message>
</context>
<context>
    <name>TfrmMenu</name>
    <message>
        <source>TORVEX KLN TRAINER SIMULATOR</source>
        <translation>SIMULADOR DEL ENTRENADOR TORVEX NLK</translation>
    </message>
    <message>
        <source>System Mimic</source>
        <translation>Control Manual</translation>
    </message>
    <message>
        <source>Flow Control</source>
        <translation>Control Flujo</translation>
    </message>
    <message>
        <source>Temperature Control</source>
        <translation>Control Temperatura</translation>
    </message>
    <message>
        <source>Batch Volume Control</source>
        <translation>Control Volumen Lote</translation>
    </message>
    <message>
        <source>Fluid Level Control</source>
        <translation>Control Nivel Fluido</translation>
    </message>
    <message>
        <source>Open Loop Control</source>
        <translation>Control Circuito Abierto</translation>
    </message>
    <message>
        <source>Trends</source>
        <translation>Tendencias</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Stirrer</source>
        <translation>Agitador</translation>
    </message>
    <message>
        <source>Temperature sensor</source>
        <translation>Sensor de temperatura</translation>
    </message>
    <message>
        <source>Heater</source>
        <translation>Calentador</translation>
    </message>
    <message>
        <source>Process tank</source>
        <translation>Tanque de proceso</translation>
    </message>
    <message>
        <source>Level sensor</source>
        <translation>Sensor de nivel</translation>
    </message>
    <message>
        <source>Drain valve</source>
        <translation>Válvula de vaciado</translation>
    </message>
    <message>
        <source>Sump</source>
        <translation>Depósito</translation>
    </message>
    <message>
        <source>Pump</source>
        <translation>Bomba</translation>
    </message>
    <message>
        <source>Flow meter</source>
        <translation>Caudalímetro</translation>
    </message>
    <message>
        <source>Gate valve</source>
        <translation>Válvula de compuerta</translation>
    </message>
    <message>
        <source>Diverter</source>
        <translation>Desviador</translation>
    </message>
    <message>
        <source>Cooler and fan</source>
        <translation>Enfriador y ventilador</translation>
    </message>
</context>
<context>
    <name>TfrmOpen</name>
    <message>
        <source>Open Loop Simulation</source>
        <translation>Simulación del Circuito Abierto</translation>
    </message>
    <message>
        <source>Control Mode</source>
        <translation>Modo Control</translation>
    </message>
    <message>
        <source>Open Loop</source>
        <translation>Circuito Abierto</translation>
    </message>
</context>
<context>
    <name>TfrmPrefs</name>
    <message>
        <source>Preferences</source>
        <translation>Preferencias</translation>
    </message>
    <message>
        <source>Program Interface</source>
        <translation>Interfaz del Programa</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>Maximised at Startup</source>
        <translation>Maximizar la Ventana</translation>
    </message>
    <message>
        <source>Show Toolbar as default</source>
        <translation>Mostrar Barra de Herramientas</translation>
    </message>
    <message>
        <source>Show Easy Menu</source>
        <translation>Mostrar Menú de Control</translation>
    </message>
    <message>
        <source>English</source>
        <translation>Inglés</translation>
    </message>
    <message>
        <source>French</source>
        <translation>Francés</translation>
    </message>
    <message>
        <source>Spanish</source>
        <translation>Español</translation>
    </message>
    <message>
        <source>German</source>
        <translation>Alemán</translation>
    </message>
    <message>
        <source>Italian</source>
        <translation>Italiano</translation>
    </message>
    <message>
        <source>Run History</source>
        <translation>Historial de ensayos</translation>
    </message>
    <message>
        <source>Keep a history of runs</source>
        <translation>Guardar un historial de ensayos</translation>
    </message>
    <message>
        <source>Folder: %1</source>
        <translation>Carpeta: %1</translation>
    </message>
    <message>
        <source>No folder: this program keeps no runs.</source>
        <translation>Sin carpeta: este programa no guarda ensayos.</translation>
    </message>
</context>
<context>
    <name>TfrmRunFigures</name>
    <message>
        <source>Step</source>
        <translation>Escalón</translation>
    </message>
    <message>
        <source>start</source>
        <translation>inicio</translation>
    </message>
    <message>
        <source>Step at (s)</source>
        <translation>Escalón en (s)</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Desde</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Hasta</translation>
    </message>
    <message>
        <source>Peak</source>
        <translation>Pico</translation>
    </message>
    <message>
        <source>Peak at (s)</source>
        <translation>Pico en (s)</translation>
    </message>
    <message>
        <source>Steady-state error</source>
        <translation>Error estacionario</translation>
    </message>
    <message>
        <source>%1, segment %2: ISE %3, ITAE %4, output variation %5 %; its steps:</source>
        <translation>%1, tramo %2: ISE %3, ITAE %4, variación de la salida %5 %; sus escalones:</translation>
    </message>
    <message>
        <source>Upper table: overshoot, settling and rise of each segment&apos;s first step (in the first segment, the start step when the run starts away from its set point).</source>
        <translation>Tabla superior: sobreimpulso, establecimiento y subida del primer escalón de cada tramo (en el primer tramo, el escalón de inicio cuando la prueba empieza lejos de su punto de consigna).</translation>
    </message>
    <message>
        <source>Flow</source>
        <translation>Flujo</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatura</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volumen</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Nivel</translation>
    </message>
    <message>
        <source>Run figures</source>
        <translation>Cifras del ensayo</translation>
    </message>
    <message>
        <source>Copy table</source>
        <translation>Copiar tabla</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>No controlled loop in this run: an open-loop run has no set point.</source>
        <translation>Este ensayo no tiene lazo de control: en circuito abierto no hay consigna.</translation>
    </message>
    <message>
        <source>Loop</source>
        <translation>Lazo</translation>
    </message>
    <message>
        <source>Segment</source>
        <translation>Tramo</translation>
    </message>
    <message>
        <source>Start (s)</source>
        <translation>Inicio (s)</translation>
    </message>
    <message>
        <source>PG</source>
        <translation>Kp</translation>
    </message>
    <message>
        <source>I</source>
        <translation>Ki</translation>
    </message>
    <message>
        <source>D</source>
        <translation>Kd</translation>
    </message>
    <message>
        <source>IAE</source>
        <translation>IAE</translation>
    </message>
    <message>
        <source>Steps</source>
        <translation>Escalones</translation>
    </message>
    <message>
        <source>Overshoot (%)</source>
        <translation>Sobreimpulso (%)</translation>
    </message>
    <message>
        <source>Settling (s)</source>
        <translation>Establecimiento (s)</translation>
    </message>
    <message>
        <source>Rise (s)</source>
        <translation>Subida (s)</translation>
    </message>
    <message>
        <source>Segments</source>
        <translation>Segmentos</translation>
    </message>
</context>
<context>
    <name>TfrmStepTest</name>
    <message>
        <source>Step test and tuning</source>
        <translation>Prueba de escalón y sintonía</translation>
    </message>
    <message>
        <source>Use in Flow</source>
        <translation>Usar en Flujo</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Time (s)</source>
        <translation>Tiempo (s)</translation>
    </message>
    <message>
        <source>Output from (%)</source>
        <translation>Salida desde (%)</translation>
    </message>
    <message>
        <source>to (%)</source>
        <translation>hasta (%)</translation>
    </message>
    <message>
        <source>K (L/min per %)</source>
        <translation>K (L/min por %)</translation>
    </message>
    <message>
        <source>tau (s)</source>
        <translation>tau (s)</translation>
    </message>
    <message>
        <source>theta (s)</source>
        <translation>theta (s)</translation>
    </message>
    <message>
        <source>RMS (L/min)</source>
        <translation>RMS (L/min)</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Registro</translation>
    </message>
    <message>
        <source>Rule</source>
        <translation>Regla</translation>
    </message>
    <message>
        <source>PG</source>
        <translation>Kp</translation>
    </message>
    <message>
        <source>I (s)</source>
        <translation>Ki (s)</translation>
    </message>
    <message>
        <source>D (s)</source>
        <translation>Kd (s)</translation>
    </message>
    <message>
        <source>No step of the pump output in this run.</source>
        <translation>No hay ningún escalón de la salida de la bomba en este ensayo.</translation>
    </message>
    <message>
        <source>No model: the flow did not answer this step.</source>
        <translation>Sin modelo: el flujo no respondió a este escalón.</translation>
    </message>
    <message>
        <source>Measured flow (aqua) and the fitted model (yellow, dashed); tunings for the Flow window:</source>
        <translation>Flujo medido (aguamarina) y modelo ajustado (amarillo, discontinuo); sintonías para la ventana de Flujo:</translation>
    </message>
    <message>
        <source>Steps</source>
        <translation>Escalones</translation>
    </message>
    <message>
        <source>Tunings</source>
        <translation>Sintonías</translation>
    </message>
    <message>
        <source>Step response plot</source>
        <translation>Gráfico de la respuesta al escalón</translation>
    </message>
    <message>
        <source>step at %1 s, output %2 % to %3 %: measured flow %4 to %5 L/min</source>
        <translation>escalón a los %1 s, salida de %2 % a %3 %: flujo medido de %4 a %5 L/min</translation>
    </message>
    <message>
        <source>fitted model K %1 L/min per %, tau %2 s, theta %3 s</source>
        <translation>modelo ajustado K %1 L/min por %, tau %2 s, theta %3 s</translation>
    </message>
    <message>
        <source>no model</source>
        <translation>sin modelo</translation>
    </message>
</context>
<context>
    <name>TfrmTemperature</name>
    <message>
        <source>Temperature Simulation</source>
        <translation>Simulación de la Temperatura</translation>
    </message>
    <message>
        <source>Set Point</source>
        <translation>SP</translation>
    </message>
    <message>
        <source>Initial Value</source>
        <translation>Valor Inicial</translation>
    </message>
    <message>
        <source>Control Mode</source>
        <translation>Modo Control</translation>
    </message>
    <message>
        <source>Enter Value</source>
        <translation>Valor entero</translation>
    </message>
    <message>
        <source>Process
running</source>
        <translation>Proceso en
marcha</translation>
    </message>
    <message>
        <source>Process
stopped</source>
        <translation>Proceso
parado</translation>
    </message>
</context>
<context>
    <name>TrendReport</name>
    <message>
        <source>Flow</source>
        <translation>Flujo</translation>
    </message>
    <message>
        <source>Fluid Level</source>
        <translation>Nivel del Fluido</translation>
    </message>
    <message>
        <source>Open Loop</source>
        <translation>Circuito Abierto</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatura</translation>
    </message>
    <message>
        <source>Batch Volume</source>
        <translation>Volumen del Lote</translation>
    </message>
    <message>
        <source>Flat</source>
        <translation>Plana</translation>
    </message>
    <message>
        <source>Ramp</source>
        <translation>Rampa</translation>
    </message>
    <message>
        <source>Sine</source>
        <translation>Seno</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Escalón</translation>
    </message>
    <message>
        <source>Sawtooth</source>
        <translation>Diente de sierra</translation>
    </message>
    <message>
        <source>Lab report: %1</source>
        <translation>Informe de prácticas: %1</translation>
    </message>
    <message>
        <source>File: %1</source>
        <translation>Fichero: %1</translation>
    </message>
    <message>
        <source>Printed: %1, %2</source>
        <translation>Impreso: %1, %2</translation>
    </message>
    <message>
        <source>Whole run: %1 to %2 s, %3 samples</source>
        <translation>Todo el ensayo: de %1 a %2 s, %3 muestras</translation>
    </message>
    <message>
        <source>Shown view: %1 to %2 s, %3 samples</source>
        <translation>Vista en pantalla: de %1 a %2 s, %3 muestras</translation>
    </message>
    <message>
        <source>Controller settings per segment</source>
        <translation>Ajustes del controlador por segmento</translation>
    </message>
    <message>
        <source>From (s)</source>
        <translation>Desde (s)</translation>
    </message>
    <message>
        <source>Set-point waveform: %1 (A %2, B %3, C %4)</source>
        <translation>Forma de onda del SP: %1 (A %2, B %3, C %4)</translation>
    </message>
    <message>
        <source>gate valve %1 %</source>
        <translation>válvula de compuerta %1 %</translation>
    </message>
    <message>
        <source>Values at %1 s (record %2)</source>
        <translation>Valores a %1 s (registro %2)</translation>
    </message>
    <message>
        <source>Time (s)</source>
        <translation>Tiempo (s)</translation>
    </message>
    <message>
        <source>Settings changed</source>
        <translation>Cambio de ajustes</translation>
    </message>
    <message>
        <source>... and %1 more segments</source>
        <translation>... y %1 segmentos más</translation>
    </message>
</context>
<context>
    <name>TuningMap</name>
    <message>
        <source>IAE (%1·s)</source>
        <translation>IAE (%1·s)</translation>
    </message>
    <message>
        <source>Overshoot (%)</source>
        <translation>Sobreimpulso (%)</translation>
    </message>
    <message>
        <source>Settling time (s)</source>
        <translation>Tiempo de establecimiento (s)</translation>
    </message>
    <message>
        <source>Stable or oscillating</source>
        <translation>Estable u oscilante</translation>
    </message>
    <message>
        <source>(log)</source>
        <translation>(log)</translation>
    </message>
    <message>
        <source>Stable</source>
        <translation>Estable</translation>
    </message>
    <message>
        <source>Oscillating</source>
        <translation>Oscilante</translation>
    </message>
    <message>
        <source>No value</source>
        <translation>Sin valor</translation>
    </message>
    <message>
        <source>Today&apos;s settings</source>
        <translation>Ajustes actuales</translation>
    </message>
</context>
<context>
    <name>TuningMapWindow</name>
    <message>
        <source>IAE</source>
        <translation>IAE</translation>
    </message>
    <message>
        <source>Overshoot</source>
        <translation>Sobreimpulso</translation>
    </message>
    <message>
        <source>Settling time</source>
        <translation>Tiempo de establecimiento</translation>
    </message>
    <message>
        <source>Stable or oscillating</source>
        <translation>Estable u oscilante</translation>
    </message>
    <message>
        <source>Tuning Map</source>
        <translation>Mapa de sintonía</translation>
    </message>
    <message>
        <source>Loop:</source>
        <translation>Lazo:</translation>
    </message>
    <message>
        <source>Colour by:</source>
        <translation>Color según:</translation>
    </message>
    <message>
        <source>Run length (records):</source>
        <translation>Duración (registros):</translation>
    </message>
    <message>
        <source>Across:</source>
        <translation>Horizontal:</translation>
    </message>
    <message>
        <source>Up:</source>
        <translation>Vertical:</translation>
    </message>
    <message>
        <source>to</source>
        <translation>a</translation>
    </message>
    <message>
        <source>cells:</source>
        <translation>celdas:</translation>
    </message>
    <message>
        <source>Logarithmic</source>
        <translation>Logarítmico</translation>
    </message>
    <message>
        <source>Co&amp;mpute</source>
        <translation>Ca&amp;lcular</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>&amp;Use these settings</source>
        <translation>&amp;Usar estos ajustes</translation>
    </message>
    <message>
        <source>Export &amp;PNG</source>
        <translation>Exportar &amp;PNG</translation>
    </message>
    <message>
        <source>At the screen&apos;s resolution...</source>
        <translation>A la resolución de la pantalla...</translation>
    </message>
    <message>
        <source>At twice the size...</source>
        <translation>Al doble de tamaño...</translation>
    </message>
    <message>
        <source>Export C&amp;SV...</source>
        <translation>Exportar C&amp;SV...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Click a cell to see its run here.</source>
        <translation>Pulse una celda para ver aquí su ensayo.</translation>
    </message>
    <message>
        <source>Not computed yet.</source>
        <translation>Aún sin calcular.</translation>
    </message>
    <message>
        <source>IAE: %1</source>
        <translation>IAE: %1</translation>
    </message>
    <message>
        <source>Overshoot: %1</source>
        <translation>Sobreimpulso: %1</translation>
    </message>
    <message>
        <source>Settling time: %1</source>
        <translation>Tiempo de establecimiento: %1</translation>
    </message>
    <message>
        <source>Too short to judge.</source>
        <translation>Demasiado corto para juzgarlo.</translation>
    </message>
    <message>
        <source>Stable.</source>
        <translation>Estable.</translation>
    </message>
    <message>
        <source>Oscillating.</source>
        <translation>Oscilante.</translation>
    </message>
    <message>
        <source>The exercise window is closed: its settings cannot be changed.</source>
        <translation>La ventana del ejercicio está cerrada: no se pueden cambiar sus ajustes.</translation>
    </message>
    <message>
        <source>Export PNG</source>
        <translation>Exportar PNG</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>Imágenes PNG (*.png)</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>No se pudo escribir %1: %2</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>Exportar CSV</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Ficheros CSV (*.csv)</translation>
    </message>
    <message>
        <source>Tuning map</source>
        <translation>Mapa de sintonía</translation>
    </message>
    <message>
        <source>Run of the chosen cell</source>
        <translation>Ensayo de la celda elegida</translation>
    </message>
    <message>
        <source>Loop</source>
        <translation>Lazo</translation>
    </message>
    <message>
        <source>Colour by</source>
        <translation>Color según</translation>
    </message>
    <message>
        <source>Run length in records</source>
        <translation>Duración en registros</translation>
    </message>
    <message>
        <source>Setting across</source>
        <translation>Ajuste horizontal</translation>
    </message>
    <message>
        <source>Across from</source>
        <translation>Horizontal desde</translation>
    </message>
    <message>
        <source>Across to</source>
        <translation>Horizontal hasta</translation>
    </message>
    <message>
        <source>Cells across</source>
        <translation>Celdas en horizontal</translation>
    </message>
    <message>
        <source>Logarithmic across</source>
        <translation>Logarítmico en horizontal</translation>
    </message>
    <message>
        <source>Setting up</source>
        <translation>Ajuste vertical</translation>
    </message>
    <message>
        <source>Up from</source>
        <translation>Vertical desde</translation>
    </message>
    <message>
        <source>Up to</source>
        <translation>Vertical hasta</translation>
    </message>
    <message>
        <source>Cells up</source>
        <translation>Celdas en vertical</translation>
    </message>
    <message>
        <source>Logarithmic up</source>
        <translation>Logarítmico en vertical</translation>
    </message>
    <message>
        <source>Cells computed</source>
        <translation>Celdas calculadas</translation>
    </message>
    <message>
        <source>Cell under the cursor</source>
        <translation>Celda bajo el cursor</translation>
    </message>
    <message>
        <source>Chosen cell</source>
        <translation>Celda elegida</translation>
    </message>
    <message>
        <source>%1 over %2 across and %3 up. The arrow keys move a cell cursor, Enter shows the cell&apos;s run.</source>
        <translation>%1 según %2 en horizontal y %3 en vertical. Las flechas mueven un cursor de celda; Intro muestra el ensayo de la celda.</translation>
    </message>
</context>
<context>
    <name>WaveformPanel</name>
    <message>
        <source>Initial</source>
        <translation>Inicial</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Salida</translation>
    </message>
    <message>
        <source>Set point</source>
        <translation>Consigna</translation>
    </message>
    <message>
        <source>Flat</source>
        <translation>Plana</translation>
    </message>
    <message>
        <source>Ramp</source>
        <translation>Rampa</translation>
    </message>
    <message>
        <source>Sine</source>
        <translation>Seno</translation>
    </message>
    <message>
        <source>Step</source>
        <translation>Escalón</translation>
    </message>
    <message>
        <source>Sawtooth</source>
        <translation>Diente de sierra</translation>
    </message>
    <message>
        <source>not used by this waveform</source>
        <translation>sin uso en esta forma de onda</translation>
    </message>
</context>
</TS>
