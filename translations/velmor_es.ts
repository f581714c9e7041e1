<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES" sourcelanguage="en">
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
        <source>Setup</source>
        <translation>&amp;Opciones</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Barra de Herramientas</translation>
    </message>
    <message>
        <source>&amp;Easy Menu</source>
        <translation>&amp;Menu de Control</translation>
    </message>
    <message>
        <source>&amp;Preferences...</source>
        <translation>&amp;Preferentias...</translation>
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
        <translation>Preferentias</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>¿Está seguro?</translation>
    </message>
    <message>
        <source>Close VELMOR?</source>
        <translation>¿Cerrar ROMLEV?</translation>
    </message>
</context>
<context>
    <name>TfrmFlow</name>
    <message>
        <source>Flow Simulation</source>
        <translation>Simulación del Flujo</translation>
    </message>
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
        <source>Control Mode</source>
        <translation>Modo Control</translation>
    </message>
    <message>
        <source>Controller</source>
        <translation>Controlador</translation>
    </message>
    <message>
        <source>Set Point</source>
        <translation>SP</translation>
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
        <source>Process running</source>
        <translation>Proceso en marcha</translation>
    </message>
    <message>
        <source>Process stopped</source>
        <translation>Proceso parado</translation>
    </message>
</context>
<context>
    <name>TfrmCalculator</name>
    <message>
        <source>New value</source>
        <translation>Nuevo valor</translation>
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
</context>
</TS>
